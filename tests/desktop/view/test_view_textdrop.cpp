#include "TestSupport.h"
#include "ViewFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A game record with CR LF line ends and a byte that is not UTF-8: neither
// may change on the way to the file.
const QByteArray kGameText("(;GM[1]FF[4]\r\nGN[Dropped]PB[Kat\xf6]PW[White]\r\n;B[pd])\r\n");

class TextDrop : public ViewFixture
{
protected:
    QWidget* Target() { return view->ListCtrl()->CurrentView()->viewport(); }
    // Enter, move and drop as a drag does; answers whether the list took it.
    bool Drag(QMimeData& mime, bool* enterAccepted = nullptr)
    {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Target(), &enter);
        if (enterAccepted)
            *enterAccepted = enter.isAccepted();
        QDragMoveEvent move(QPoint(30, 30), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Target(), &move);
        EXPECT_EQ(move.isAccepted(), enter.isAccepted());
        QDropEvent drop(QPointF(30, 30), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Target(), &drop);
        return drop.isAccepted();
    }
    static void SetText(QMimeData& mime, const QByteArray& bytes) { mime.setData(QStringLiteral("text/plain"), bytes); }
};

// A drag source that frees its text once the drop is delivered: here as
// soon as the user is asked anything, as the save dialog then waits for
// the user while the source has moved on.
class CShortLivedText : public QMimeData
{
public:
    CShortLivedText(const QByteArray& bytes, const QStringList& asked) : m_bytes(bytes), m_asked(asked) {}
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override
    {
        if (type != QStringLiteral("text/plain") || !m_asked.isEmpty())
            return {};
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    const QStringList& m_asked;
};

} // namespace

TEST_F(TextDrop, TheTextIsTakenAtTheDropSoASourceThatFreesItEarlyLosesNothing)
{
    const fs::path target = dir.path() / "early.sgf";
    prompts.saveFileName.push_back(QString::fromStdString(target.string()));
    CShortLivedText mime(kGameText, prompts.asked);
    EXPECT_TRUE(Drag(mime));
    ASSERT_EQ(prompts.asked.size(), 1) << "the save dialog was shown";
    EXPECT_EQ(ReadFileBytes(target), kGameText.toStdString());
    EXPECT_EQ(view->RowCount(), 1);
}

TEST_F(TextDrop, DroppedGameTextBecomesANewUnviewedFileWithTheBytesUnchanged)
{
    const fs::path target = dir.path() / "dropped.sgf";
    prompts.saveFileName.push_back(QString::fromStdString(target.string()));
    QMimeData mime;
    SetText(mime, kGameText);
    bool entered = false;
    EXPECT_TRUE(Drag(mime, &entered));
    EXPECT_TRUE(entered);
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral(
                                 "save-file:  | MGT Files (*.mgt, *.sgf)|*.mgt;*.sgf|Glyphon Files (*.gph)|*.gph|"
                                 "All Files (*.*)|*.*|| | sgf")});
    EXPECT_EQ(ReadFileBytes(target), kGameText.toStdString());
    ASSERT_EQ(view->RowCount(), 1);
    EXPECT_EQ(view->ListCtrl()->GetItemKey(0), target.string());
    EXPECT_EQ(view->ListCtrl()->GetItemImage(0), 0);
    EXPECT_TRUE(doc.IsModified());
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path(), target) << "no temporary file is left behind";
}

TEST_F(TextDrop, TextOnAFileAlreadyInTheCollectionReplacesItsContentAndAddsNoRow)
{
    const std::string path = dir.Write("old.sgf", "(;GM[1]GN[Old])");
    ASSERT_TRUE(doc.AddGameFile(path, 0));
    doc.SetModifiedFlag(false);
    prompts.saveFileName.push_back(QString::fromStdString(path));
    QMimeData mime;
    SetText(mime, kGameText);
    EXPECT_TRUE(Drag(mime));
    EXPECT_EQ(ReadFileBytes(path), kGameText.toStdString());
    EXPECT_EQ(view->RowCount(), 1);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TextDrop, ACancelledDialogOrEmptyTextWritesNothing)
{
    QMimeData mime;
    SetText(mime, kGameText);
    prompts.saveFileName.push_back(QString());
    EXPECT_FALSE(Drag(mime)) << "the dialog is cancelled";
    const fs::path target = dir.path() / "empty.sgf";
    prompts.saveFileName.push_back(QString::fromStdString(target.string()));
    QMimeData empty;
    empty.setText(QString());
    EXPECT_FALSE(Drag(empty));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(view->RowCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TextDrop, OnlyPlainTextWithoutFilesIsTakenAsGameText)
{
    QMimeData picture;
    picture.setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    bool entered = true;
    EXPECT_FALSE(Drag(picture, &entered));
    EXPECT_FALSE(entered);

    // Files with text alongside stay a file drop: no save dialog.
    const std::string game = dir.Write("file.sgf", kGameText.toStdString());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(game))});
    files.setText(QStringLiteral("(;GN[text])"));
    EXPECT_TRUE(Drag(files));
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(dropped, (std::vector<std::vector<std::string>>{{game}}));
}

TEST_F(TextDrop, AFileThatCannotBeWrittenIsReportedAndAnExistingOneKeptIntact)
{
    const fs::path target = dir.path() / "missing folder" / "x.sgf";
    prompts.saveFileName.push_back(QString::fromStdString(target.string()));
    QMimeData mime;
    SetText(mime, kGameText);
    EXPECT_FALSE(Drag(mime));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Cannot save the game text as ")));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(view->RowCount(), 0);

    // A folder (not a file) stands where the file should go: the write
    // fails at the rename and the folder and its content stay.
    const fs::path folder = dir.path() / "taken.sgf";
    fs::create_directories(folder / "inside");
    prompts.saveFileName.push_back(QString::fromStdString(folder.string()));
    EXPECT_FALSE(Drag(mime));
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path(), folder) << "no temporary file is left behind";
}

TEST_F(TextDrop, AWriteThatHitsAFullDiskKeepsTheOldFileAndSaysSo)
{
    const std::string path = dir.Write("old.sgf", "(;GM[1]GN[Old])");
    prompts.saveFileName.push_back(QString::fromStdString(path));
    QMimeData mime;
    SetText(mime, "(;GM[1]GN[" + QByteArray(4096, 'x') + "])");
    bool taken = true;
    {
        CFileSizeLimit limit(1024);
        taken = Drag(mime);
    }
    EXPECT_FALSE(taken);
    EXPECT_EQ(ReadFileBytes(path), "(;GM[1]GN[Old])");
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Cannot save the game text as")));
    EXPECT_EQ(view->RowCount(), 0);
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path(), path) << "no temporary file is left behind";
}
