#pragma once

#include "device/FormatEnvironment.h"
#include "i18n/LanguagePack.h"
#include "platform/PlatformServices.h"
#include "platform/PopupRecorder.h"
#include "settings/CardRoot.h"
#include "settings/DeviceClock.h"
#include "settings/SettingsRecord.h"
#include "startup/ViewerLanguage.h"

#include <QDateTime>
#include <optional>

// Saves every process-wide value when made and puts each back as it was when it goes: the
// settings record (present or not, and its bytes), the device clock, the card root, the
// language pack and where it is loaded from, the viewer's language, the platform services, the
// card format's surroundings, the system clock's fixed time and the popup recorder. A test
// changes any of them freely; nothing it leaves reaches the next test.
class ProcessStateGuard final
{
public:
    ProcessStateGuard();
    ~ProcessStateGuard();

private:
    Q_DISABLE_COPY_MOVE(ProcessStateGuard)

    std::optional<SettingsRecord> m_record;
    DeviceClock m_deviceClock;
    CardRoot m_cardRoot;
    LanguagePack m_languagePack;
    QString m_languageFolder;
    ViewerLanguage m_viewerLanguage;
    PlatformServices m_platform;
    FormatEnvironment m_formatEnvironment;
    std::optional<QDateTime> m_fixedNow;
    PopupRecorder m_popups;
};
