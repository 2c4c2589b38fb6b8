#include "settings/SettingsFile.h"

#include "platform/DebugOutput.h"
#include "settings/CardRoot.h"
#include "settings/SettingsRecord.h"

#include <QFile>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Write all of `data` at the file's start and make sure it reached the file.
bool WriteAtStart(QFile& file, const char* data, qint64 length)
{
    if (!file.seek(0))
        return false;
    qint64 done = 0;
    while (done < length) {
        const qint64 written = file.write(data + done, length - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return file.flush();
}

} // namespace

bool LoadSettingsFile(SettingsRecord& record, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        DebugOutput(u"Warning BlackBox Setting not found !\n"_s);
        return false;
    }
    // The length decides the warnings, but never more than one block is read: a huge or sparse
    // file must not be pulled into memory.
    const quint32 length = quint32(file.size() & 0xFFFFFFFF);
    char buffer[SettingsRecord::Size] = {};
    const qint64 wanted = std::min<qint64>(length, SettingsRecord::Size);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = file.read(buffer + got, wanted - got);
        if (n < 0) {
            // A read error (card pulled out) must not leave a half-filled block that Save
            // would then write back over the card's real settings.
            DebugOutput(u"Warning BlackBox Setting not found !\n"_s);
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    record.Clear();
    std::memcpy(record.Data(), buffer, got);
    file.close();
    DebugOutput(u"\n\nBlackBox Setting loading...\n"_s);
    if (length > quint32(SettingsRecord::Size))
        DebugOutput(u"Warning config version seems to be higher than 1.2 or invalid !\n"_s);
    if (length != record.UInt32(Field::record_size))
        DebugOutput(u"Warning file length differs  from the checksum !\n"_s);
    return true;
}

bool LoadSettingsFile(const QString& path)
{
    if (SettingsRecord* shared = SettingsRecord::Instance())
        return LoadSettingsFile(*shared, path);
    // The shared block comes into being only with a file that could be read.
    SettingsRecord loaded;
    if (!LoadSettingsFile(loaded, path))
        return false;
    SettingsRecord::CreateInstance() = loaded;
    return true;
}

bool SaveSettingsFile(SettingsRecord& record, const QString& path)
{
    const bool anyInput = record.Int32(Field::aggregate_input_1) != 0 ||
                          record.Int32(Field::aggregate_input_2) != 0 ||
                          record.Int32(Field::aggregate_input_3) != 0;
    record.SetInt32(Field::aggregate_flag, anyInput ? 1 : 0);

    // Read-write keeps an existing file's length: bytes past the block stay on the card.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        DebugOutput(u"\n\nBlackBox Setting fail to save\n"_s);
        return false;
    }
    DebugOutput(u"\n\nBlackBox Setting saving...\n"_s);

    quint32 n = record.UInt32(Field::record_size);
    if (n >= quint32(SettingsRecord::Size))
        n = SettingsRecord::Size;
    record.SetUInt32(Field::record_size, n);

    const bool written = WriteAtStart(file, record.Data(), n);
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        DebugOutput(u"\n\nBlackBox Setting fail to save\n"_s);
        return false;
    }

    const quint32 version = record.UInt32(Field::config_version);
    DebugOutput(u"Write Product:["_s + record.Text(Field::product_name) + u"]  Config Ver.:["_s +
                QString::number(version >> 16) + u'.' + QString::number(version & 0xFFFF) +
                u"], CheckSum:["_s + QString::number(n) + u"], Written Size ["_s + QString::number(n) +
                u"] \n"_s);
    return true;
}

QString FactoryDefaultsPath()
{
    return CardRoot::Instance().Path(u"default.cfg");
}

bool LoadFactoryDefaults(SettingsRecord& record)
{
    const QByteArray privateA = record.Bytes(Field::device_private_a);
    const QByteArray privateB = record.Bytes(Field::device_private_b);
    const bool loaded = LoadSettingsFile(record, FactoryDefaultsPath());
    record.SetBytes(Field::device_private_a, privateA);
    record.SetBytes(Field::device_private_b, privateB);
    return loaded;
}
