// Writes the demo card (setup.cfg, default.cfg, lang/ver.dat) from its readable description.

#include "settings/RecordLayout.h"
#include "settings/SettingsRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTextStream>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QTextStream& Err()
{
    static QTextStream stream(stderr);
    return stream;
}

const FieldSpec* FindField(const QString& name)
{
    for (const FieldSpec& field : Field::all) {
        if (QLatin1StringView(field.name.data(), field.name.size()) == name)
            return &field;
    }
    return nullptr;
}

std::optional<QByteArray> ParseBytes(const QString& text)
{
    QByteArray bytes;
    for (const QString& item : text.split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint value = item.toUInt(&ok, 16);
        if (!ok || value > 0xFF)
            return std::nullopt;
        bytes.append(char(value));
    }
    return bytes;
}

bool Assign(SettingsRecord& record, const QString& name, const QString& value)
{
    const FieldSpec* field = FindField(name);
    if (!field) {
        Err() << "unknown field: " << name << Qt::endl;
        return false;
    }
    if (value.startsWith(u"hex:")) {
        const auto bytes = ParseBytes(value.mid(4));
        if (!bytes || bytes->size() != field->width)
            return false;
        record.SetBytes(*field, *bytes);
        return true;
    }
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
        if (field->type != FieldType::Text)
            return false;
        record.SetText(*field, value.mid(1, value.size() - 2));
        return true;
    }
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok, 0);
    if (!ok || field->width != 4)
        return false;
    record.SetUInt32(*field, quint32(number));
    return true;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        Err() << "usage: demo-card <description.txt> <card folder>" << Qt::endl;
        return 2;
    }
    QFile description(QString::fromLocal8Bit(argv[1]));
    if (!description.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Err() << "cannot read " << description.fileName() << Qt::endl;
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);

    QMap<QString, SettingsRecord> blocks;
    QByteArray versionFile;
    QString section;
    int lineNumber = 0;
    QTextStream in(&description);
    while (!in.atEnd()) {
        const QString raw = in.readLine();
        ++lineNumber;
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        if (section == u"lang/ver.dat") {
            if (!line.isEmpty())
                versionFile += raw.toLatin1() + "\r\n";
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (section.isEmpty() || equals < 0 ||
            !Assign(blocks[section], line.left(equals).trimmed(), line.mid(equals + 1).trimmed())) {
            Err() << description.fileName() << ":" << lineNumber << ": cannot use: " << raw << Qt::endl;
            return 1;
        }
    }
    for (auto it = blocks.cbegin(); it != blocks.cend(); ++it) {
        if (!WriteFile(folder + u'/' + it.key(), it.value().ToByteArray()))
            return 1;
    }
    return WriteFile(folder + u"/lang/ver.dat"_s, versionFile) ? 0 : 1;
}
