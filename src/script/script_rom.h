#pragma once

#include <QJSValue>
#include <QObject>

struct ScriptImage;

// `rom` in a script: the bytes of the script's image, read and written one
// at a time or in runs, inside the image only.
class ScriptRom : public QObject {
    Q_OBJECT
    Q_PROPERTY(double size READ size CONSTANT)
public:
    explicit ScriptRom(ScriptImage& image, QObject* parent = nullptr) : QObject(parent), m_image(image) {}

    double size() const;
    Q_INVOKABLE QJSValue byte(const QJSValue& offset = {});
    Q_INVOKABLE QJSValue setByte(const QJSValue& offset = {}, const QJSValue& value = {});
    Q_INVOKABLE QJSValue bytes(const QJSValue& offset = {}, const QJSValue& count = {});
    Q_INVOKABLE QJSValue setBytes(const QJSValue& offset = {}, const QJSValue& values = {});

private:
    ScriptImage& m_image;
};
