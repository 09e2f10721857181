#include "toolkit/TShellFolderTree.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using gf::TShellFolderTree;

namespace gf::test {

namespace {
QString clean(const QString& p)
{
    return QDir::cleanPath(QFileInfo(p).canonicalFilePath());
}
} // namespace

class TstShellFolderTree : public QObject
{
    Q_OBJECT

private slots:
    void selectsPathsAndTheNodeWithoutPath()
    {
        QTemporaryDir tmp;
        const QString deep = clean(tmp.path()) + "/eins/zwei";
        QVERIFY(QDir().mkpath(deep));

        TShellFolderTree tree;
        tree.resize(275, 247);
        QSignalSpy spy(&tree, &TShellFolderTree::selectedPathChanged);

        QVERIFY(tree.selectPath(deep + "/")); // trailing separator as DataDir carries it
        QCOMPARE(tree.selectedPath(), deep);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.last().at(0).toString(), deep);
        QVERIFY(tree.isExpanded(tree.currentIndex().parent()));

        // A missing folder falls back to the node without a path, where no folder can be made.
        QVERIFY(!tree.selectPath(deep + "/fehlt"));
        QVERIFY(tree.isVirtualRootSelected());
        QCOMPARE(tree.selectedPath(), QString());
        QCOMPARE(spy.last().at(0).toString(), QString());
        QCOMPARE(tree.createFolder(), QString());
        QVERIFY(!tree.selectPath(QString()));
    }

    void selectionSurvivesSortingAndFollowsTheDisk()
    {
        QTemporaryDir tmp;
        const QString root = clean(tmp.path());
        QVERIFY(QDir(root).mkdir("m"));
        QVERIFY(QDir(root).mkdir("z"));

        TShellFolderTree tree;
        QVERIFY(tree.selectPath(root + "/m"));
        const QModelIndex parent = tree.currentIndex().parent();
        tree.expand(parent);
        QTRY_COMPARE(tree.model()->rowCount(parent), 2);

        // Folders made behind the tree's back appear, sorted before the selected one.
        QVERIFY(QDir(root).mkdir("a"));
        QVERIFY(QDir(root).mkdir("b"));
        QTRY_COMPARE(tree.model()->rowCount(parent), 4);
        QTRY_COMPARE(tree.model()->index(0, 0, parent).data().toString(), QString("a"));
        QTRY_COMPARE(tree.selectedPath(), root + "/m");
        QCOMPARE(tree.currentIndex().data().toString(), QString("m"));

        QVERIFY(QDir(root).rmdir("a"));
        QTRY_COMPARE(tree.model()->rowCount(parent), 3);
        QCOMPARE(tree.selectedPath(), root + "/m");
    }

    void createsNumberedFoldersAndRenamesThem()
    {
        QTemporaryDir tmp;
        const QString root = clean(tmp.path());
        TShellFolderTree tree;
        tree.resize(275, 247);
        tree.show();
        QVERIFY(tree.selectPath(root));

        const QString first = tree.createFolder();
        QCOMPARE(first, root + "/Neuer Ordner");
        QVERIFY(QFileInfo(first).isDir());
        QCOMPARE(tree.selectedPath(), first);
        QVERIFY(tree.indexWidget(tree.currentIndex())); // the name is open for editing

        QVERIFY(tree.selectPath(root));
        QCOMPARE(tree.createFolder(), root + "/Neuer Ordner (2)");

        QSignalSpy spy(&tree, &TShellFolderTree::selectedPathChanged);
        const QModelIndex cur = tree.currentIndex();
        auto* model = tree.model();
        // Names that leave the folder, clash with a sibling or are empty are refused.
        for (const char* bad : {"x/y", "..", "   ", "Neuer Ordner"})
            QVERIFY2(!model->setData(cur, bad), bad);
        QVERIFY(QFileInfo(root + "/Neuer Ordner (2)").isDir());
        QCOMPARE(spy.size(), 0);

        QVERIFY(model->setData(cur, "  Daten  "));
        QVERIFY(QFileInfo(root + "/Daten").isDir());
        QVERIFY(!QFileInfo::exists(root + "/Neuer Ordner (2)"));
        QCOMPARE(tree.selectedPath(), root + "/Daten");
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.last().at(0).toString(), root + "/Daten");
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstShellFolderTree)
#include "tst_shellfoldertree.moc"
