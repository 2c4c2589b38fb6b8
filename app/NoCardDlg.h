#pragma once

#include "startup/CardFinder.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

// Says that no camera memory card was found. The user inserts the card and looks again, or
// picks the card's folder by hand; closing the window gives up.
class NoCardDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoCardDlg)

public:
    using Search = std::function<QList<CardCandidate>()>;

    explicit NoCardDlg(Search search, QWidget* parent = nullptr);

    // After the dialog was accepted: the cards a new look found, or else the folder the user
    // picked (ending with '/').
    QList<CardCandidate> FoundCards() const { return m_foundCards; }
    QString ChosenFolder() const { return m_chosenFolder; }

    QPushButton* LookAgainButton() const { return m_lookAgain; }
    QPushButton* ChooseFolderButton() const { return m_chooseFolder; }
    QPushButton* CloseButton() const { return m_close; }
    QLabel* StatusLabel() const { return m_status; }

private:
    void LookAgain();
    void ChooseFolder();

    Search m_search;
    QLabel* m_status = nullptr;
    QPushButton* m_lookAgain = nullptr;
    QPushButton* m_chooseFolder = nullptr;
    QPushButton* m_close = nullptr;
    QList<CardCandidate> m_foundCards;
    QString m_chosenFolder;
};
