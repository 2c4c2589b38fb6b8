#include "ui/CMsgPopupDlg.h"

#include "i18n/LanguagePack.h"
#include "platform/PopupRecorder.h"
#include "skin/SkinFont.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kButtonWidth = 85;
constexpr int kButtonHeight = 25;

QString Translated(QStringView key, const QString& fallback)
{
    if (!LanguagePack::Instance().IsLoaded())
        return fallback;
    const QString text = GetText(key);
    return text.isEmpty() ? fallback : text;
}

} // namespace

CMsgPopupDlg::CMsgPopupDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(SkinFont::Create(13, false));

    m_textCtrl = new QLabel(this);
    m_textCtrl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_textCtrl->setWordWrap(true);
    m_textCtrl->setTextFormat(Qt::PlainText);

    m_yes = new QPushButton(YesCaption(), this);
    m_no = new QPushButton(NoCaption(), this);
    m_yes->setDefault(true);
    m_yes->setAutoDefault(true);
    m_no->setAutoDefault(true);
    setTabOrder(m_yes, m_no);
    connect(m_yes, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(m_no, &QPushButton::clicked, this, [this] { done(No); });
}

CMsgPopupDlg::~CMsgPopupDlg() = default;

QString CMsgPopupDlg::YesCaption()
{
    return Translated(u"IDS_STRING3310", u"Yes(Y)"_s);
}

QString CMsgPopupDlg::NoCaption()
{
    return Translated(u"IDS_STRING3311", u"No(N)"_s);
}

void CMsgPopupDlg::SetContent(const QString& caption, const QString& text, int width, int height)
{
    m_caption = caption;
    m_text = text;
    m_width = width;
    m_height = height;
    Lay();
}

int CMsgPopupDlg::TextAreaHeight(const QString& text)
{
    return text.count(u"\r\n"_s) == 2 ? 70 : 40;
}

void CMsgPopupDlg::Lay()
{
    setFixedSize(m_width, m_height);
    setWindowTitle(m_caption);
    // The label breaks lines at line feeds; CR LF would show the CR.
    QString shown = m_text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    m_textCtrl->setText(shown);
    m_textCtrl->setGeometry(0, 28, m_width - 10, TextAreaHeight(m_text));
    const int half = m_width / 2;
    m_yes->setGeometry(half - 95, m_height - 60, kButtonWidth, kButtonHeight);
    m_no->setGeometry(half + 10, m_height - 60, kButtonWidth, kButtonHeight);
    m_yes->show();
    m_no->show();
    m_yes->setFocus();
}

QWidget* CMsgPopupDlg::Control(int id) const
{
    switch (id) {
    case IdYes:
        return m_yes;
    case IdNo:
        return m_no;
    case IdText:
        return m_textCtrl;
    default:
        return nullptr;
    }
}

int CMsgPopupDlg::exec()
{
    PopupRecorder& recorder = PopupRecorder::Instance();
    if (recorder.Record({m_caption, m_text, QSize(m_width, m_height)})) {
        if (const std::optional<bool> yes = recorder.TakeAnswer()) {
            const int answer = *yes ? Yes : No;
            setResult(answer);
            return answer;
        }
    }
    m_yes->setFocus();
    return QDialog::exec();
}

void CMsgPopupDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The size given is the outer window's: once the frame is known, the client area gives way
    // to it. The controls keep their places.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!frame.isEmpty() && m_width > frame.width() && m_height > frame.height())
        setFixedSize(m_width - frame.width(), m_height - frame.height());
    m_yes->setFocus();
}

void CMsgPopupDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept(); // neither closes nor answers
        return;
    case Qt::Key_Y:
        done(Yes);
        return;
    case Qt::Key_N:
        done(No);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CMsgPopupDlg::closeEvent(QCloseEvent* event)
{
    done(No);
    event->accept();
}
