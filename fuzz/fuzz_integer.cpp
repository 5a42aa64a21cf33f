// The catalogue's integer syntax against a plain 64-bit reading of the same
// rules: decimal in the signed 32-bit range, "$" or "0x" with 1 to 8
// hexadecimal digits (wrapping into the signed range).
#include "base/catalogue_integer.h"
#include "fuzz_support.h"

#include <cstdint>
#include <optional>

namespace {

std::optional<qint32> reference(QString text)
{
    text = text.trimmed();
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = QLatin1Char('$') + text.mid(2);
    auto hexDigit = [](QChar c) -> int {
        if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
        if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
        if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
        return -1;
    };
    if (text.startsWith(u'$')) {
        if (text.size() < 2 || text.size() > 9)
            return std::nullopt;
        quint64 v = 0;
        for (qsizetype i = 1; i < text.size(); ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0)
                return std::nullopt;
            v = v * 16 + quint64(d);
        }
        return qint32(quint32(v));
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    if (i >= text.size())
        return std::nullopt;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        v = v * 10 + (text[i].unicode() - u'0');
        if (v > qint64(1) << 33)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return qint32(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<qint32> ours = parseCatalogueInteger(text);
    const std::optional<qint32> expected = reference(text);
    FUZZ_CHECK(ours == expected);
    FUZZ_CHECK(catalogueInteger(text, -7) == expected.value_or(-7));
    return 0;
}
