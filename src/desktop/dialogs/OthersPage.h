#pragma once

#include <QString>
#include <QWidget>

#include <string>

class IPrompts;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Others": the viewer program and the user's own player names.
class COthersPage : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kViewerLimit = 255;

    COthersPage(const std::string& viewer, const std::string& myNames, IPrompts& prompts, QWidget* parent = nullptr);

    // False, with a message and the focus in the viewer field, when the field
    // holds more than the viewer may have (only a stored value can).
    bool Validate();
    // Takes both values from the fields; called on OK only.
    void Save();
    const std::string& Viewer() const { return m_viewer; }
    const std::string& MyNames() const { return m_myNames; }

    // The charset of records that name none: empty is "Automatic". A stored
    // name the list does not offer is added to it, so OK keeps it.
    void SetNoneCharset(const std::string& charset);
    std::string NoneCharset() const;
    // The charsets offered besides "Automatic".
    static const QStringList& NoneCharsets();

    // The Browse dialog's filter: executables as this platform knows them.
    static QString ProgramFilter();

private:
    void CreateWidgets();
    void Load();
    void Connect();
    void OnBrowse();
    // Typing stops at the limit; a longer text set from the store stays as it
    // is and can be shortened.
    void OnViewerEdited(const QString& text);

    std::string m_viewer;
    std::string m_myNames;
    IPrompts& m_prompts;
    // The viewer text before the user's last edit (textEdited comes after
    // textChanged, so it is kept here).
    QString m_lastViewerText;

    QLineEdit* m_viewerEdit = nullptr;
    QLineEdit* m_namesEdit = nullptr;
    QPushButton* m_browse = nullptr;
    QComboBox* m_charsetCombo = nullptr;
};
