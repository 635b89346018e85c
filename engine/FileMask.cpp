#include "engine/FileMask.h"

namespace {

bool sameLetter(QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); }

// Wildcard matching that backtracks only to the last '*': linear in practice.
bool wildcardMatches(QStringView mask, QStringView name)
{
    qsizetype m = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == u'*') {
            starAt = m++;
            resumeAt = n;
        } else if (m < mask.size() && (mask[m] == u'?' || sameLetter(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (starAt >= 0) {
            m = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

} // namespace

bool fileMaskMatches(const QString& mask, const QString& name)
{
    if (wildcardMatches(mask, name))
        return true;
    return mask.endsWith(QLatin1String(".*")) && !name.contains(u'.') && wildcardMatches(QStringView(mask).chopped(2), name);
}
