#include "pages/CEtcDlg.h"

CEtcDlg::CEtcDlg(QWidget* parent) : CBaseDialog(TemplateId, parent) {}

void CEtcDlg::LoadFromRecord() {}
