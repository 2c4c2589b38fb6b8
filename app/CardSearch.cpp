#include "app/CardSearch.h"

#include "app/CardChooserDlg.h"
#include "startup/CardFinder.h"
#include "app/NoCardDlg.h"

CardSearch::CardSearch(const CardFinder& finder) : m_finder(finder) {}

QString CardSearch::FindCardRoot(QWidget* parent) const
{
    QList<CardCandidate> cards = m_finder.FindCards();
    if (cards.isEmpty()) {
        NoCardDlg noCard([this] { return m_finder.FindCards(); }, parent);
        if (noCard.exec() != QDialog::Accepted)
            return {};
        if (noCard.FoundCards().isEmpty())
            return noCard.ChosenFolder();
        cards = noCard.FoundCards();
    }
    if (cards.size() == 1)
        return cards.first().root;
    CardChooserDlg chooser(cards, parent);
    return chooser.exec() == QDialog::Accepted ? chooser.ChosenRoot() : QString();
}
