// SPDX-License-Identifier: GPL-3.0-or-later
// Files written whole, alone or many together: each is the new content or the old one,
// never part of either, and nothing is left beside them.
#include "shell/core/filewrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using sw::WholeFile;
using sw::writeWholeFiles;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class WholeFilesTest : public ::testing::Test
{
protected:
    // Old contents a batch replaces (or, after a failure, keeps).
    void writeOldFiles()
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *name : {"a.pdf", "b.pdf", "c.pdf"}) {
            QFile old(m_dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
    }
    QStringList leftBeside() const { return QDir(m_dir.path()).entryList({u"*.part"_s}, QDir::Files); }
    QTemporaryDir m_dir;
};

TEST_F(WholeFilesTest, EachFileIsTheNewContentOrTheOldAndNothingIsLeftBeside)
{
    struct Case
    {
        const char *what;
        QStringList names; // a name under "missing/" cannot be written: its folder is not there
        int written;
    };
    const Case cases[] = {
        {"nothing to write", {}, 0},
        {"all written, old ones replaced, a new one made", {u"a.pdf"_s, u"b.pdf"_s, u"new.pdf"_s}, 3},
        {"the first cannot be written: none is", {u"missing/x.pdf"_s, u"a.pdf"_s}, 0},
        {"one in the middle cannot: those before it are written, those after keep their old content",
         {u"a.pdf"_s, u"missing/x.pdf"_s, u"b.pdf"_s},
         1},
    };
    for (const Case &c : cases) {
        writeOldFiles();
        std::vector<WholeFile> files;
        for (const QString &name : c.names)
            files.push_back({m_dir.filePath(name), "new " + name.toUtf8()});
        const sw::WholeFilesWritten result = writeWholeFiles(files);
        EXPECT_EQ(result.count, c.written) << c.what;
        EXPECT_EQ(result.failure.isEmpty(), c.written == int(files.size())) << c.what;
        if (c.written < int(files.size())) {
            EXPECT_TRUE(result.failure.startsWith(u"The file "_s + files[std::size_t(c.written)].path
                                                  + u" cannot be written: "_s))
                << result.failure.toStdString();
        }
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i].path.contains(u"/missing/"_s))
                continue;
            EXPECT_EQ(contentOf(files[i].path), int(i) < c.written ? files[i].bytes : QByteArray("old"))
                << c.what << ": " << files[i].path.toStdString();
        }
        EXPECT_TRUE(leftBeside().isEmpty()) << c.what << ": " << leftBeside().join(u' ').toStdString();
    }
}

TEST_F(WholeFilesTest, ANewFileCanBeReadByOthersAsAnyNewFile)
{
    const QString path = m_dir.filePath(u"shared.pdf"_s);
    ASSERT_EQ(writeWholeFiles({{path, "copy"}}).count, 1);
    // Not the private mode of a temporary file: the upload reads the copies as another user.
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOther);
}

} // namespace
