#include "app/CardChooserDlg.h"

#include "i18n/LanguagePack.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CardChooserDlg::CardChooserDlg(const QList<CardCandidate>& cards, QWidget* parent)
    : QDialog(parent), m_cards(cards)
{
    setWindowTitle(GetText(u"IDS_STRING101"));

    auto* prompt = new QLabel(GetText(u"IDS_STRING3350"), this);
    prompt->setWordWrap(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(u"cardList"_s);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels(
        {GetText(u"IDS_STRING3351"), GetText(u"IDS_STRING3352"), GetText(u"IDS_STRING3353")});
    for (const CardCandidate& card : m_cards) {
        const QString label = card.label.isEmpty() ? GetText(u"IDS_STRING3355") : card.label;
        auto* item = new QTreeWidgetItem(m_list, {label, SizeText(card.bytesTotal), card.root});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
        m_list->setColumnWidth(column, m_list->columnWidth(column) + 24);
    }
    m_list->header()->setStretchLastSection(true);
    m_list->setCurrentItem(m_list->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(GetText(u"IDS_STRING3354"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(u"openButton"_s);
    m_open->setDefault(true);
    QPushButton* cancel = buttons->addButton(GetText(u"IDS_STRING107"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(u"cancelButton"_s);

    connect(m_open, &QPushButton::clicked, this, &CardChooserDlg::Open);
    connect(cancel, &QPushButton::clicked, this, &CardChooserDlg::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, &CardChooserDlg::Open);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { m_open->setEnabled(current != nullptr); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(qMax(560, sizeHint().width()), 260);
}

QString CardChooserDlg::SizeText(qint64 bytes)
{
    return QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

void CardChooserDlg::Open()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || row >= m_cards.size())
        return;
    m_chosenRoot = m_cards[row].root;
    accept();
}
