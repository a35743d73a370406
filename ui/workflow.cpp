// The behaviour of the main window: creation, show, close, the page
// change, the fields' change and key handlers and the clearing buttons.
#include "ui/mainwindow.h"

// filled in by the workflow

void TForm_Main::FormCreate() {}
void TForm_Main::FormShow() {}
bool TForm_Main::FormCloseQuery() { return true; }
void TForm_Main::RecomputeSys1() {}
void TForm_Main::RecomputeSys2() {}
void TForm_Main::PushStateToFields() {}
void TForm_Main::PullFieldsToState() {}
QString TForm_Main::settingsPath() const { return m_settingsPath; }

void TForm_Main::PgCtrl_SysChange() {}
void TForm_Main::Btn_Clear1Click() {}
void TForm_Main::Btn_Clear2Click() {}
void TForm_Main::FlEdt_dPr1Change() {}
void TForm_Main::FlEdt_dPf1Change() {}
void TForm_Main::FlEdt_dPppr1Change() {}
void TForm_Main::FlEdt_dPsChange() {}
void TForm_Main::FlEdt_dPtr1Change() {}
void TForm_Main::FlEdt_dPdr1Change() {}
void TForm_Main::FlEdt_dPnChange() {}
void TForm_Main::FlEdt_Q1Change() {}
void TForm_Main::FlEdt_Kvy1Change() {}
void TForm_Main::FlEdt_dPr2Change() {}
void TForm_Main::FlEdt_dPf2Change() {}
void TForm_Main::FlEdt_dPppr2Change() {}
void TForm_Main::FlEdt_dPtChange() {}
void TForm_Main::FlEdt_dPtr2Change() {}
void TForm_Main::FlEdt_dPdr2Change() {}
void TForm_Main::FlEdt_Q2Change() {}
void TForm_Main::FlEdt_Kvy2Change() {}

void TForm_Main::FlEdt_dPr1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPf1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPppr1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPsKeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPtr1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPdr1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPnKeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_Q1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_Kvy1KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPr2KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPf2KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPppr2KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPtKeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPtr2KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_dPdr2KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_Q2KeyUp(int, Qt::KeyboardModifiers) {}
void TForm_Main::FlEdt_Kvy2KeyUp(int, Qt::KeyboardModifiers) {}
