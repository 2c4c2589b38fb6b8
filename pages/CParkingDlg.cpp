#include "pages/CParkingDlg.h"

CParkingDlg::CParkingDlg(QWidget* parent) : CBaseDialog(TemplateId, parent) {}

void CParkingDlg::LoadFromRecord() {}
