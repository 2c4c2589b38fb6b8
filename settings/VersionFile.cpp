#include "settings/VersionFile.h"

#include "settings/AnsiCodePage.h"
#include "settings/DeviceLanguageList.h"
#include "settings/DeviceVersionInfo.h"
#include "settings/TextLineReader.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString TrimmedBlank(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// The second piece of the line split at ':' (runs of ':' are one separator, empty pieces skipped).
QString ValueOf(const QString& line)
{
    const QStringList pieces = line.split(u':', Qt::SkipEmptyParts);
    return pieces.size() >= 2 ? TrimmedBlank(pieces[1]) : QString();
}

// A key word counts only where its first occurrence is past the line's first character.
bool HasKeyWord(const QString& line, QStringView word)
{
    return line.indexOf(word) > 0;
}

} // namespace

void ReadVersionFile(DeviceVersionInfo& info, const QString& folder)
{
    QFile file(folder + u"ver.dat"_s);
    if (!file.open(QIODevice::ReadOnly))
        return;
    TextLineReader reader(file);
    QByteArray raw;
    bool codeLineSeen = false;
    while (reader.ReadLine(raw)) {
        if (raw.isEmpty())
            continue;
        const QString line = AnsiCodePage::ToUnicode(raw);
        const QString value = ValueOf(line);
        if (HasKeyWord(line, u"Ver")) {
            info.version = value;
        } else if (HasKeyWord(line, u"Pack Name")) {
            info.pack_name = value;
        } else if (HasKeyWord(line, u"Code")) {
            if (!codeLineSeen)
                info.codes += value.split(u' ', Qt::SkipEmptyParts);
            codeLineSeen = true;
        } else if (HasKeyWord(line, u"Device")) {
            info.device = value;
        }
    }
    file.close();
    info.names = DeviceLanguageNames(info.codes);
}
