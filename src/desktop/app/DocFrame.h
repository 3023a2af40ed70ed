#pragma once

class QString;
class QWidget;

// What the document framework needs of the window that shows the document,
// so the framework does not depend on the main frame that owns it.
class IDocFrame
{
public:
    virtual ~IDocFrame() = default;
    // The parent of the framework's dialogs and messages.
    virtual QWidget* DialogParent() = 0;
    // Brings the window to its stored placement and shows it, as after a
    // collection is created or opened.
    virtual void ActivateDocFrame() = 0;
    virtual void RefreshRecentFiles() = 0;
    virtual void SetCaption(const QString& caption) = 0;
    // A notice in the status bar, beside the filter's count, until the next
    // command prompt.
    virtual void ShowStatusMessage(const QString& text) = 0;
};
