#include "app/NoCardDlg.h"

#include "i18n/LanguagePack.h"
#include "platform/PopupRecorder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

NoCardDlg::NoCardDlg(Search search, QWidget* parent) : QDialog(parent), m_search(std::move(search))
{
    setWindowTitle(GetText(u"IDS_STRING101"));

    auto* message = new QLabel(GetText(u"IDS_STRING3356"), this);
    message->setWordWrap(true);
    m_status = new QLabel(this);
    m_status->setObjectName(u"statusLabel"_s);
    m_status->setWordWrap(true);
    QFont statusFont = m_status->font();
    statusFont.setItalic(true);
    m_status->setFont(statusFont);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(u":/icons/dashcam-settings-64.png"_s).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(this);
    m_lookAgain = buttons->addButton(GetText(u"IDS_STRING3357"), QDialogButtonBox::ActionRole);
    m_lookAgain->setObjectName(u"lookAgainButton"_s);
    m_lookAgain->setDefault(true);
    m_chooseFolder = buttons->addButton(GetText(u"IDS_STRING3358"), QDialogButtonBox::ActionRole);
    m_chooseFolder->setObjectName(u"chooseFolderButton"_s);
    m_close = buttons->addButton(GetText(u"IDS_STRING3359"), QDialogButtonBox::RejectRole);
    m_close->setObjectName(u"closeButton"_s);

    connect(m_lookAgain, &QPushButton::clicked, this, &NoCardDlg::LookAgain);
    connect(m_chooseFolder, &QPushButton::clicked, this, &NoCardDlg::ChooseFolder);
    connect(m_close, &QPushButton::clicked, this, &NoCardDlg::reject);

    auto* texts = new QVBoxLayout;
    texts->addWidget(message);
    texts->addSpacing(6);
    texts->addWidget(m_status);
    texts->addStretch(1);
    auto* body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(icon);
    body->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    resize(qMax(560, sizeHint().width()), sizeHint().height());
}

void NoCardDlg::LookAgain()
{
    m_foundCards = m_search ? m_search() : QList<CardCandidate>();
    if (!m_foundCards.isEmpty()) {
        accept();
        return;
    }
    m_status->setText(GetText(u"IDS_STRING3360"));
}

void NoCardDlg::ChooseFolder()
{
    const QString caption = GetText(u"IDS_STRING3361");
    PopupRecorder& recorder = PopupRecorder::Instance();
    std::optional<QString> answered;
    if (recorder.Record({caption, QString(), {}}))
        answered = recorder.TakeFolder();
    QString folder =
        answered ? *answered : QFileDialog::getExistingDirectory(this, caption, QDir::homePath());
    if (folder.isEmpty())
        return; // the picker was cancelled: the window stays
    // Card files are addressed as the root followed directly by their name.
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_foundCards.clear();
    m_chosenFolder = folder;
    accept();
}
