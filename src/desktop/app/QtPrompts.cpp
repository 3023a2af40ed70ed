#include "desktop/app/QtPrompts.h"

#include "desktop/app/ProgramStart.h"

#include "desktop/view/FontColorDialog.h"
#include "qtcore/ResText.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QProcess>
#include <QSortFilterProxyModel>

namespace {
QString AppTitle()
{
    return ResText(AFX_IDS_APP_TITLE);
}

void MakeFolderCurrent(const QString& path)
{
    if (!path.isEmpty())
        QDir::setCurrent(QFileInfo(path).absolutePath());
}

void SetupFileDialog(QFileDialog& dialog, const QString& filter)
{
    const QStringList filters = CQtPrompts::ToQtFilters(filter);
    // The descriptions already name their patterns; Qt's copy in brackets would repeat them.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    dialog.setDirectory(QDir::currentPath());
}

// Keeps folders and files the user may run.
class CExecutableFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files)
            return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }
};
} // namespace

QStringList CQtPrompts::ToQtFilters(const QString& filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    // The filter ends with "||": the empty items after the last pattern.
    while (!parts.isEmpty() && parts.back().isEmpty())
        parts.pop_back();
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        // "*.*" means every file; Qt's "*" also matches names without a dot.
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

QStringList CQtPrompts::GetOpenFileNames(QWidget* parent, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent, title);
    SetupFileDialog(dialog, filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        MakeFolderCurrent(files.front());
    return files;
}

QString CQtPrompts::GetOpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent, title);
    SetupFileDialog(dialog, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = dialog.selectedFiles().front();
    MakeFolderCurrent(file);
    return file;
}

QString CQtPrompts::GetExistingDirectory(QWidget* parent, const QString& title)
{
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(QDir::currentPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString folder = dialog.selectedFiles().front();
    // The next dialog opens beside the folder just chosen.
    MakeFolderCurrent(folder);
    return folder;
}

QString CQtPrompts::GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& defaultSuffix, const QString& initialPath)
{
    QFileDialog dialog(parent, title);
    SetupFileDialog(dialog, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!initialPath.isEmpty()) {
        const QFileInfo info(initialPath);
        if (info.isDir()) {
            dialog.setDirectory(info.absoluteFilePath());
        } else {
            if (!info.path().isEmpty() && info.path() != QLatin1String("."))
                dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = dialog.selectedFiles().front();
    MakeFolderCurrent(file);
    return file;
}

void CQtPrompts::MessageBox(QWidget* parent, const QString& text, EIcon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case EIcon::None:
        break;
    case EIcon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case EIcon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case EIcon::Error:
    case EIcon::Stop:
        boxIcon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(boxIcon, AppTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

IPrompts::EAnswer CQtPrompts::AskSaveChanges(QWidget* parent, const QString& title)
{
    QMessageBox box(QMessageBox::Warning, AppTitle(), QStringLiteral("Save changes to %1?").arg(title),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return EAnswer::Yes;
    case QMessageBox::No:
        return EAnswer::No;
    default:
        return EAnswer::Cancel;
    }
}

IPrompts::EAnswer CQtPrompts::AskYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, AppTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    // The cautious answer is the one Enter gives.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? EAnswer::Yes : EAnswer::No;
}

std::optional<std::pair<QFont, QColor>> CQtPrompts::ChooseFont(QWidget* parent, const QFont& font, const QColor& color)
{
    CFontColorDialog dialog(font, color, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.SelectedFont(), dialog.SelectedColor());
}

QString CQtPrompts::GetProgramFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& initialName)
{
    QFileDialog dialog(parent, title);
    SetupFileDialog(dialog, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!initialName.isEmpty()) {
        const QFileInfo initial(initialName);
        if (initial.isAbsolute())
            dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
#ifndef Q_OS_WIN
    // Without extensions the filter cannot tell programs from other files;
    // the permission bits can.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setProxyModel(new CExecutableFilter(&dialog));
#endif
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QFileInfo chosen(dialog.selectedFiles().front());
        if (chosen.isFile() && chosen.isExecutable())
            return chosen.absoluteFilePath();
        QMessageBox::warning(&dialog, AppTitle(), QStringLiteral("%1\nis not a program.").arg(chosen.fileName()));
    }
    return {};
}

int CQtPrompts::ExecDialog(QDialog& dialog)
{
    return dialog.exec();
}

bool CQtPrompts::StartDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    return StartDetachedProgram(program, arguments);
}
