#pragma once

#include "platform/AppDataFolder.h"
#include "platform/DriveInfo.h"
#include "platform/PlatformServices.h"
#include "platform/ProgramLauncher.h"
#include "platform/RegistryBackend.h"
#include "platform/RegistryValue.h"
#include "platform/WindowFinder.h"

#include <QHash>
#include <QStringList>
#include <memory>

// Stand-ins for the platform services, so start-up can be driven without a real card reader,
// registry or window system.
class FakeDriveInfo final : public DriveInfo
{
public:
    explicit FakeDriveInfo(bool removable, QString root = QStringLiteral("/"))
        : m_removable(removable), m_root(root)
    {}
    bool IsRemovableDrive(const QString&) const override { return m_removable; }
    QString FilesystemRoot(const QString&) const override { return m_root; }

private:
    bool m_removable;
    QString m_root;
};

class FakeWindowFinder final : public WindowFinder
{
public:
    explicit FakeWindowFinder(QStringList titles = {}) : m_titles(std::move(titles)) {}
    std::optional<quint64> FindTopLevelWindow(const QString& title) const override
    {
        const qsizetype index = m_titles.indexOf(title);
        return index < 0 ? std::nullopt : std::optional<quint64>(quint64(index + 1));
    }

private:
    QStringList m_titles;
};

// One string value at most, under one key.
class FakeRegistry final : public RegistryBackend
{
public:
    FakeRegistry() = default;
    FakeRegistry(QString key, QString valueName, QString text)
        : m_key(std::move(key)), m_valueName(std::move(valueName)), m_text(std::move(text)), m_hasValue(true)
    {}
    bool KeyExists(const QString& keyPath) const override { return m_hasValue && SameKey(keyPath); }
    std::optional<QStringList> SubkeyNames(const QString& keyPath) const override
    {
        return KeyExists(keyPath) ? std::optional<QStringList>(QStringList{}) : std::nullopt;
    }
    std::optional<QStringList> ValueNames(const QString& keyPath) const override
    {
        return KeyExists(keyPath) ? std::optional<QStringList>(QStringList{m_valueName}) : std::nullopt;
    }
    std::optional<RegistryValue> Value(const QString& keyPath, const QString& valueName) const override
    {
        if (!KeyExists(keyPath) || valueName.compare(m_valueName, Qt::CaseInsensitive) != 0)
            return std::nullopt;
        RegistryValue value;
        value.m_type = RegistryValue::String;
        const QString terminated = m_text + QChar(0);
        for (const QChar c : terminated) {
            value.m_data.append(char(c.unicode() & 0xFF));
            value.m_data.append(char(c.unicode() >> 8));
        }
        return value;
    }

private:
    bool SameKey(QString path) const
    {
        while (path.endsWith(u'\\'))
            path.chop(1);
        return path.compare(m_key, Qt::CaseInsensitive) == 0;
    }
    QString m_key;
    QString m_valueName;
    QString m_text;
    bool m_hasValue = false;
};

class RecordingLauncher final : public ProgramLauncher
{
public:
    bool StartDetached(const QString& program, const QString& argument,
                       const QString& workingFolder) const override
    {
        m_calls.append({program, argument, workingFolder});
        return true;
    }
    mutable QList<QStringList> m_calls;
};

// Puts fakes into the process's platform services: a fixed drive, no viewer window, an empty
// registry, a launcher that starts nothing. A ProcessStateGuard puts the real ones back.
inline void InstallFakePlatform()
{
    PlatformServices& services = PlatformServices::Instance();
    services.SetDrives(std::make_shared<FakeDriveInfo>(false));
    services.SetWindows(std::make_shared<FakeWindowFinder>());
    services.SetRegistry(std::make_shared<FakeRegistry>());
    services.SetLauncher(std::make_shared<RecordingLauncher>());
}
