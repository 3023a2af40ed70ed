#pragma once

#include <QString>
#include <QWidget>

struct SGamePosition;
class QAction;

// The board of the preview, drawn at the widget's size; without a position
// it shows a note instead. Its context menu copies the diagram or saves it.
class CBoardView : public QWidget
{
    Q_OBJECT
public:
    explicit CBoardView(QWidget* parent = nullptr);

    // position must live until the next call (null: none); note is shown
    // when there is no position.
    void SetPosition(const SGamePosition* position, const QString& note = {});
    const SGamePosition* Position() const { return m_position; }
    const QString& Note() const { return m_note; }

    QAction* CopyAction() const { return m_copy; }
    QAction* SaveAction() const { return m_save; }

    QSize sizeHint() const override { return {320, 320}; }
    QSize minimumSizeHint() const override { return {120, 120}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const SGamePosition* m_position = nullptr;
    QString m_note;
    QAction* m_copy = nullptr;
    QAction* m_save = nullptr;
};
