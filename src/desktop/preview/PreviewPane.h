#pragma once

#include "desktop/preview/PreviewLoader.h"
#include "qtcore/DisplayDecoder.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

class CBoardView;
class CPatternPanel;
class IPrompts;
class ISettingsStore;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QSpinBox;

// The preview of the current row's game: the board, a slider over its
// moves, the choice of the position a game opens at (its end, a move, its
// start), and the game information below. Games are read off the GUI
// thread, and only while the pane is shown.
class CPreviewPane : public QWidget
{
    Q_OBJECT
public:
    enum EShowAt { kShowEnd = 0, kShowMove = 1, kShowStart = 2 };

    CPreviewPane(ISettingsStore& store, IPrompts& prompts, QWidget* parent = nullptr);

    // The game file at path (its bytes as the file system has them), or
    // none for an empty path; at move openAt where given, else where the
    // "Open at" choice says.
    // The game-th game (from 0) of the file at path.
    void ShowGame(const std::string& path, std::optional<int> openAt = std::nullopt, std::size_t game = 0);

    // What is on show: the path of the game read last, and its position.
    const std::string& ShownPath() const { return m_shownPath; }
    const SGamePosition* Position() const;
    int ShownMove() const;
    // Moves to the position after n moves (clamped).
    void SetShownMove(int n);

    void CopyDiagram();
    void SaveDiagramAs();

    CBoardView* Board() const { return m_board; }

    // The position search: its panel, with the pattern board, above the
    // game's board while the mode is on.
    CPatternPanel* PatternPanel() const { return m_pattern; }
    void SetPatternMode(bool on);
    bool IsPatternMode() const;

signals:
    // A game read for the current row is on show.
    void GameShown();
    // The "Open at" choice changed (and is stored).
    void OpenAtChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateWidgets();
    void Load();
    void Connect();
    void OnLoaded(std::shared_ptr<const SPreviewGame> game);
    void OnShowAtChanged();
    void FitGameBoard();
    // The move a game opens at, by the stored choice.
    int OpeningMove() const;
    void Refresh();
    QString Decoded(CPropertyValue text);
    QString InfoText();

    ISettingsStore& m_store;
    IPrompts& m_prompts;
    CPreviewLoader* m_loader = nullptr;
    CDisplayDecoder m_decoder;

    std::string m_wantedPath;
    std::size_t m_wantedGame = 0;
    std::optional<int> m_wantedAt;
    bool m_pending = false;
    std::string m_shownPath;
    std::shared_ptr<const SPreviewGame> m_game;
    std::optional<SGamePosition> m_position;

    CBoardView* m_board = nullptr;
    CPatternPanel* m_pattern = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_moveLabel = nullptr;
    QComboBox* m_showAt = nullptr;
    QSpinBox* m_moveNumber = nullptr;
    QLabel* m_info = nullptr;
    QWidget* m_infoArea = nullptr;
    QPlainTextEdit* m_comment = nullptr;
};
