#include "pages/CSystemDlg.h"

#include "settings/DeviceClock.h"

CSystemDlg::CSystemDlg(QWidget* parent) : CBaseDialog(TemplateId, parent) {}

void CSystemDlg::LoadFromRecord()
{
    // A clock setting left on the card is not carried into another editing pass: Save then
    // deletes time.dat unless the user sets the clock again.
    DeviceClock::shared().is_set = false;
}
