#include "pages/CardFormatProcedure.h"

#include "device/CardFormat.h"
#include "device/CardFormatWorker.h"
#include "device/FormatEnvironment.h"
#include "device/ViewerHandshake.h"
#include "i18n/LanguagePack.h"
#include "platform/DebugOutput.h"
#include "platform/PlatformServices.h"
#include "settings/CardRoot.h"
#include "settings/SettingsRecord.h"
#include "ui/CProgPopupDlg.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString ProgramFile()
{
    const QString configured = FormatEnvironment::Instance().programFile;
    return configured.isEmpty() ? QCoreApplication::applicationFilePath() : configured;
}

// The program's folder must survive the format, or the backup in it would go with the card.
bool IsOnCard(const DriveInfo& drives, const QString& folder, const QString& cardRoot)
{
    const QString folderRoot = drives.FilesystemRoot(folder);
    return !folderRoot.isEmpty() && folderRoot == drives.FilesystemRoot(cardRoot);
}

// After a format the card's folder must still lie on the card. A card that could not be mounted
// again leaves its mount folder behind on the PC's own disk, and nothing may be written there.
bool StillOnRemovableCard(const DriveInfo& drives, const QString& cardRoot)
{
    QDir folder(cardRoot);
    while (!folder.exists()) {
        if (!folder.cdUp())
            return false;
    }
    return drives.IsRemovableDrive(folder.absolutePath() + u'/');
}

} // namespace

void CardFormatProcedure::HandshakeAndFormat(QWidget* owner)
{
    const PlatformServices& platform = PlatformServices::Instance();
    ViewerHandshake::Run(*platform.Windows(), *platform.Viewer(), FormatEnvironment::Instance().viewerWaitBound);
    RunCardFormat(owner);
}

void CardFormatProcedure::RunCardFormat(QWidget* owner)
{
    QString cardRoot = CardRoot::Instance().Folder();
    if (cardRoot.isEmpty())
        return;
    const PlatformServices& platform = PlatformServices::Instance();
    const DriveInfo& drives = *platform.Drives();
    const QString caption = GetText(u"IDS_STRING162");

    // The user has just agreed to lose everything on the card: say why nothing happens.
    if (!drives.IsRemovableDrive(cardRoot)) {
        MessageBox::Show(owner, caption, GetText(u"IDS_STRING3330"));
        return;
    }

    const QString programFile = ProgramFile();
    const QString programFolder = QFileInfo(programFile).absolutePath() + u'/';
    CardFormat::Backup backup;
    if (!IsOnCard(drives, programFolder, cardRoot))
        backup = CardFormat::BackUpDeviceFiles(cardRoot, programFolder);
    // Nothing is wiped that could not be saved first.
    if (!backup.ok) {
        MessageBox::Show(owner, caption, GetText(u"IDS_STRING3331"));
        return;
    }

    const bool largeCard = CardFormat::IsLargeCard(drives, cardRoot, FormatEnvironment::Instance().capacity);
    const SettingsRecord* record = SettingsRecord::Instance();
    const QString label = record ? CardFormat::VolumeLabel(*record) : CardFormat::ModelName;

    CProgPopupDlg popup(owner ? owner->window() : nullptr);
    popup.SetContent(caption, GetText(u"IDS_STRING178") + u"\r\n"_s + GetText(u"IDS_STRING1780") + u"\r\n"_s,
                     400, 150);
    CardFormatWorker worker(platform.Formatter(), CardFormat::Request(cardRoot, largeCard, label), popup,
                            FormatEnvironment::Instance().finalPause);
    worker.Start();
    popup.exec();
    worker.Wait();

    const FormatOutcome& outcome = worker.Outcome();
    // A formatter may mount the new file system elsewhere; the card's files follow it there.
    if (outcome.kind == FormatOutcome::Kind::Ran && !outcome.cardRootAfter.isEmpty() &&
        outcome.cardRootAfter != cardRoot) {
        cardRoot = outcome.cardRootAfter;
        CardRoot::Instance().Set(cardRoot);
    }
    if (outcome.kind == FormatOutcome::Kind::NotAvailable)
        MessageBox::Show(owner, caption, GetText(u"IDS_STRING3332"));
    else if (outcome.kind == FormatOutcome::Kind::Refused)
        MessageBox::Show(owner, caption, GetText(u"IDS_STRING3330"));

    if (StillOnRemovableCard(drives, cardRoot)) {
        CardFormat::RestoreDeviceFiles(backup, cardRoot, programFolder, programFile);
    } else {
        // The copies stay in the program's folder; say where, so the user can put them back.
        DebugOutput(u"card not mounted after formatting, files kept in "_s + programFolder);
        MessageBox::Show(owner, caption,
                         GetText(u"IDS_STRING3333") + u"\r\n"_s + QDir::toNativeSeparators(programFolder));
    }

    if (worker.Succeeded())
        MessageBox::Show(owner, caption, GetText(u"IDS_STRING179"));
    else if (outcome.kind != FormatOutcome::Kind::Refused)
        MessageBox::Show(owner, caption,
                         GetText(u"IDS_STRING181") + u"\r\n"_s + GetText(u"IDS_STRING1810") + u"\r\n"_s);

    if (largeCard)
        ViewerHandshake::NotifyDeviceChange(*platform.Windows(), *platform.Viewer());
}
