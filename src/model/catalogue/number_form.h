#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// How a catalogue file writes its offsets: decimal, "$1A2B", "0x1A2B" or
// "0X1a2b", with upper- or lower-case digits. New values follow the form
// the file already uses, so a file written by hand keeps its look.
struct NumberForm {
    enum Prefix { Decimal, Dollar, ZeroX, ZeroBigX };
    Prefix prefix = Decimal;
    bool lowerDigits = false;

    bool operator==(const NumberForm&) const = default;

    // The form of one value as written; nothing for text that is no number.
    static std::optional<NumberForm> of(const QString& text);
    // The form most of the file's offset values ("... offset=") use, ties to
    // the first seen; decimal when it has none.
    static NumberForm ofFile(const QByteArray& fileBytes);

    QString write(qint64 value) const;
};
