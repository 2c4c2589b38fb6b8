#include "tests/support/ProcessStateGuard.h"

#include "settings/SystemClock.h"

namespace {

std::optional<SettingsRecord> SavedRecord()
{
    const SettingsRecord* record = SettingsRecord::Instance();
    return record ? std::optional<SettingsRecord>(*record) : std::nullopt;
}

} // namespace

ProcessStateGuard::ProcessStateGuard()
    : m_record(SavedRecord()), m_deviceClock(DeviceClock::Instance()), m_cardRoot(CardRoot::Instance()),
      m_languagePack(LanguagePack::Instance()), m_languageFolder(LanguagePack::ResourceFolder()),
      m_viewerLanguage(ViewerLanguage::Instance()), m_platform(PlatformServices::Instance()),
      m_formatEnvironment(FormatEnvironment::Instance()), m_fixedNow(SystemClock::Instance().FixedNow()),
      m_popups(PopupRecorder::Instance())
{}

ProcessStateGuard::~ProcessStateGuard()
{
    if (m_record) {
        // Into the record there is, if any: code that still holds it sees the saved bytes.
        SettingsRecord* record = SettingsRecord::Instance();
        *(record ? record : &SettingsRecord::CreateInstance()) = *m_record;
    } else {
        SettingsRecord::ReleaseInstance();
    }
    DeviceClock::Instance() = m_deviceClock;
    CardRoot::Instance() = m_cardRoot;
    LanguagePack::Instance() = m_languagePack;
    LanguagePack::SetResourceFolder(m_languageFolder);
    ViewerLanguage::Instance() = m_viewerLanguage;
    PlatformServices::Instance() = m_platform;
    FormatEnvironment::Instance() = m_formatEnvironment;
    SystemClock::Instance().SetFixedNow(m_fixedNow);
    PopupRecorder::Instance() = m_popups;
}
