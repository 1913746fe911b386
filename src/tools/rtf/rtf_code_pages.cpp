#include "tools/rtf/rtf_code_pages.h"

#include <QStringDecoder>
#include <map>
#include <memory>

namespace tarvik {

namespace rtf {

QByteArray codecNameForCodePage(int codePage)
{
    switch (codePage) {
    case 10000:
        return "macintosh";
    case 20866:
        return "KOI8-R";
    case 65001:
        return "UTF-8";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 950:
        return "Big5";
    default:
        break;
    }
    if (codePage <= 0 || codePage > 65535)
        return {};
    const QByteArray number = QByteArray::number(codePage);
    for (const QByteArray& name : {"windows-" + number, "cp" + number, "ibm-" + number}) {
        if (QStringDecoder(name.constData()).isValid())
            return name;
    }
    return {};
}

int codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000; // Mac Roman
    case 128:
        return 932; // Shift-JIS
    case 129:
        return 949; // Hangul
    case 134:
        return 936; // GB2312
    case 136:
        return 950; // Big5
    case 161:
        return 1253; // Greek
    case 162:
        return 1254; // Turkish
    case 163:
        return 1258; // Vietnamese
    case 177:
        return 1255; // Hebrew
    case 178:
        return 1256; // Arabic
    case 186:
        return 1257; // Baltic
    case 204:
        return 1251; // Cyrillic
    case 222:
        return 874; // Thai
    case 238:
        return 1250; // Central European
    case 255:
        return 437; // OEM
    default:
        return 0;
    }
}

QString decode(const QByteArray& bytes, int codePage)
{
    // One decoder per code page for the life of the program: building an ICU
    // converter costs far more than most of the text it decodes.
    thread_local std::map<int, std::unique_ptr<QStringDecoder>> decoders;
    auto it = decoders.find(codePage);
    if (it == decoders.end()) {
        QByteArray name = codecNameForCodePage(codePage);
        if (name.isEmpty())
            name = "windows-1252";
        it = decoders.emplace(codePage, std::make_unique<QStringDecoder>(name.constData())).first;
    }
    QStringDecoder& decoder = *it->second;
    decoder.resetState();
    return decoder.decode(bytes);
}

} // namespace rtf

} // namespace tarvik
