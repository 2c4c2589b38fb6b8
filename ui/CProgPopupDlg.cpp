#include "ui/CProgPopupDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>

using namespace Qt::StringLiterals;

// No close box; on top like the main window, which stays on top itself.
CProgPopupDlg::CProgPopupDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    m_textCtrl = new QLabel(this);
    m_textCtrl->setObjectName(u"1120"_s);
    m_textCtrl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"1118"_s);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
}

void CProgPopupDlg::SetContent(const QString& caption, const QString& text, int width, int height)
{
    m_caption = caption;
    m_text = text;
    m_width = width;
    m_height = height;

    setFixedSize(m_width, m_height);
    setWindowTitle(m_caption);
    QString shown = m_text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    m_textCtrl->setText(shown);
    const bool twoLines = m_text.count(u"\r\n"_s) == 2;
    m_textCtrl->setGeometry(0, 28, m_width, twoLines ? 50 : 40);
    m_progress->setGeometry(40, m_height - 70, m_width - 80, 30);
}

void CProgPopupDlg::SetPos(int pos)
{
    m_pos.store(qMin(pos, 100));
    // Queued even on the window's own thread, so every caller sees the same order of events.
    QMetaObject::invokeMethod(this, &CProgPopupDlg::ShowPos, Qt::QueuedConnection);
}

void CProgPopupDlg::ShowPos()
{
    m_progress->setValue(qBound(0, m_pos.load(), 100));
}

void CProgPopupDlg::RequestClose()
{
    m_closeRequested.store(true);
    QMetaObject::invokeMethod(this, &CProgPopupDlg::FinishIfShown, Qt::QueuedConnection);
}

void CProgPopupDlg::FinishIfShown()
{
    // Before the window is shown the request stays pending; showEvent() picks it up.
    if (!m_closeRequested.load() || !isVisible() || m_finishing)
        return;
    m_finishing = true;
    ShowPos();
    done(QDialog::Rejected);
}

void CProgPopupDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_finishing = false;
    ShowPos();
    if (m_closeRequested.load())
        QMetaObject::invokeMethod(this, &CProgPopupDlg::FinishIfShown, Qt::QueuedConnection);
}

// Esc, the window manager's close and every other path to Cancel wait for the job.
void CProgPopupDlg::reject()
{
    if (m_finishing)
        QDialog::reject();
}

void CProgPopupDlg::closeEvent(QCloseEvent* event)
{
    if (m_finishing)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void CProgPopupDlg::keyPressEvent(QKeyEvent* event)
{
    // QDialog would turn Esc into Cancel and Enter into the default button; neither may end the run.
    event->accept();
}
