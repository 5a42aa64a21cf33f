#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What making or applying a patch gives: the bytes, or no bytes and one short
// sentence saying why the work was refused.
struct PatchResult {
    std::optional<QByteArray> image;
    QString error;
};
