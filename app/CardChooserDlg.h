#pragma once

#include "startup/CardFinder.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// Lists the camera memory cards found when there are several, by label, size and mount point,
// and lets the user pick the one to open.
class CardChooserDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardChooserDlg)

public:
    explicit CardChooserDlg(const QList<CardCandidate>& cards, QWidget* parent = nullptr);

    // The root of the chosen card after the dialog was accepted; empty otherwise.
    QString ChosenRoot() const { return m_chosenRoot; }

    QTreeWidget* CardList() const { return m_list; }
    QPushButton* OpenButton() const { return m_open; }

    // The size column: the card's capacity as the card's packaging states it (powers of 1000).
    static QString SizeText(qint64 bytes);

private:
    void Open();

    QList<CardCandidate> m_cards;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_open = nullptr;
    QString m_chosenRoot;
};
