#pragma once

#include <QString>

class CardFinder;
class QWidget;

// Started without a card folder, the program finds the card itself: one card is opened at
// once, several are offered in a chooser, none leads to the "no card" window.
class CardSearch final
{
public:
    explicit CardSearch(const CardFinder& finder);

    // The card root (ending with '/'), or empty when the user gave up.
    QString FindCardRoot(QWidget* parent = nullptr) const;

private:
    const CardFinder& m_finder;
};
