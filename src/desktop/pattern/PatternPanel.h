#pragma once

#include <QWidget>

class CContinuationTable;
class CDateProfile;
class CPatternBoard;
class QCheckBox;
class QLabel;
class QPushButton;

// What the preview shows in the pattern mode: the pattern board with the
// words for its rectangle, the buttons (Search, Clear, From Game, Back,
// Forward) and the "Fixed colours" box, then the continuations and the
// date profile of the games found. It only lays them out: the mode drives
// them.
class CPatternPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CPatternPanel(QWidget* parent = nullptr);

    CPatternBoard* Board() const { return m_board; }
    CContinuationTable* Table() const { return m_table; }
    CDateProfile* Profile() const { return m_profile; }
    QCheckBox* FixedColours() const { return m_fixed; }
    QPushButton* SearchButton() const { return m_search; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* FromGameButton() const { return m_fromGame; }
    QPushButton* BackButton() const { return m_back; }
    QPushButton* ForwardButton() const { return m_forward; }
    QLabel* KindLabel() const { return m_kind; }

    // Shows the rectangle's kind of the board's sketch.
    void UpdateKind();

private:
    CPatternBoard* m_board = nullptr;
    CContinuationTable* m_table = nullptr;
    CDateProfile* m_profile = nullptr;
    QCheckBox* m_fixed = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_fromGame = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QLabel* m_kind = nullptr;
};
