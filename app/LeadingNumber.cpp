#include "app/LeadingNumber.h"

#include <QString>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDigit(QStringView text, qsizetype at) {
    return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype at) {
    while (isDigit(text, at))
        ++at;
    return at;
}

bool isSign(QStringView text, qsizetype at) {
    return at < text.size() && (text[at] == u'+' || text[at] == u'-');
}

// Where the number starting at `from` ends, or `from` when none starts there.
qsizetype numberEnd(QStringView text, qsizetype from) {
    qsizetype at = from;
    if (isSign(text, at))
        ++at;
    const qsizetype digitsFrom = at;
    at = skipDigits(text, at);
    bool anyDigit = at > digitsFrom;
    if (at < text.size() && text[at] == u'.') {
        const qsizetype fractionEnd = skipDigits(text, at + 1);
        anyDigit = anyDigit || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!anyDigit)
        return from;
    // An exponent counts only when digits follow it: "1e" is just 1.
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        qsizetype exponent = at + 1;
        if (isSign(text, exponent))
            ++exponent;
        if (isDigit(text, exponent))
            at = skipDigits(text, exponent);
    }
    return at;
}

} // namespace

double leadingNumber(QStringView text) {
    qsizetype from = 0;
    while (from < text.size() && isBlank(text[from]))
        ++from;
    const qsizetype end = numberEnd(text, from);
    if (end == from)
        return 0.0;
    bool ok = false;
    const double number = text.mid(from, end - from).toString().toDouble(&ok);
    return ok ? number : 0.0;
}
