#include "toolkit/TShellFolderTree.h"

#include <QAbstractProxyModel>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTimer>

namespace gf {

// Puts one node without path above the top level of a source model. Indexes of source
// items carry the source's internal pointer (never null for QFileSystemModel); the extra
// node carries null, which is how the two are told apart.
class VirtualRootModel final : public QAbstractProxyModel
{
public:
    VirtualRootModel(QString title, QIcon icon, QObject* parent)
        : QAbstractProxyModel(parent), m_title(std::move(title)), m_icon(std::move(icon))
    {
    }

    QModelIndex rootIndex() const { return createIndex(0, 0, nullptr); }
    static bool isRoot(const QModelIndex& i) { return i.isValid() && !i.internalPointer(); }

    void setSourceModel(QAbstractItemModel* source) override
    {
        beginResetModel();
        QAbstractProxyModel::setSourceModel(source);
        connectSource(source);
        endResetModel();
    }

    QModelIndex mapToSource(const QModelIndex& proxy) const override
    {
        if (!proxy.isValid() || isRoot(proxy))
            return {};
        return createSourceIndex(proxy.row(), proxy.column(), proxy.internalPointer());
    }

    QModelIndex mapFromSource(const QModelIndex& source) const override
    {
        if (!source.isValid())
            return {};
        return createIndex(source.row(), source.column(), source.internalPointer());
    }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override
    {
        if (!parent.isValid())
            return (row == 0 && column == 0) ? rootIndex() : QModelIndex();
        if (isRoot(parent))
            return mapFromSource(sourceModel()->index(row, column, QModelIndex()));
        return mapFromSource(sourceModel()->index(row, column, mapToSource(parent)));
    }

    QModelIndex parent(const QModelIndex& child) const override
    {
        if (!child.isValid() || isRoot(child))
            return {};
        const QModelIndex sp = mapToSource(child).parent();
        return sp.isValid() ? mapFromSource(sp) : rootIndex();
    }

    int rowCount(const QModelIndex& parent) const override
    {
        if (!parent.isValid())
            return 1;
        if (parent.column() != 0)
            return 0;
        return sourceModel()->rowCount(sourceParent(parent));
    }

    int columnCount(const QModelIndex& parent) const override
    {
        if (!parent.isValid())
            return 1;
        return sourceModel()->columnCount(sourceParent(parent));
    }

    bool hasChildren(const QModelIndex& parent) const override
    {
        if (!parent.isValid())
            return true;
        return sourceModel()->hasChildren(sourceParent(parent));
    }

    bool canFetchMore(const QModelIndex& parent) const override
    {
        return parent.isValid() && sourceModel()->canFetchMore(sourceParent(parent));
    }

    void fetchMore(const QModelIndex& parent) override
    {
        if (parent.isValid())
            sourceModel()->fetchMore(sourceParent(parent));
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (isRoot(index)) {
            if (role == Qt::DisplayRole)
                return m_title;
            if (role == Qt::DecorationRole)
                return m_icon;
            return {};
        }
        return QAbstractProxyModel::data(index, role);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (isRoot(index) || role != Qt::EditRole)
            return false;
        // Refuse names that would leave the folder or that the file system rejects,
        // before the source model answers them with its own (English) message box.
        const QString name = value.toString().trimmed();
        if (!isUsableFolderName(name))
            return false;
        if (name == index.data(Qt::DisplayRole).toString())
            return true;
        const QModelIndex src = mapToSource(index);
        const QFileInfo old(src.data(QFileSystemModel::FilePathRole).toString());
        if (QFileInfo::exists(old.dir().filePath(name)))
            return false;
        return sourceModel()->setData(src, name, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (isRoot(index))
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        return QAbstractProxyModel::flags(index);
    }

    void sort(int column, Qt::SortOrder order) override { sourceModel()->sort(column, order); }

    static bool isUsableFolderName(const QString& name)
    {
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
            return false;
        for (const QChar c : name) {
            if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
                return false;
        }
        return true;
    }

private:
    QModelIndex sourceParent(const QModelIndex& proxyParent) const
    {
        return isRoot(proxyParent) ? QModelIndex() : mapToSource(proxyParent);
    }

    QModelIndex proxyParent(const QModelIndex& sourceParent) const
    {
        return sourceParent.isValid() ? mapFromSource(sourceParent) : rootIndex();
    }

    void connectSource(QAbstractItemModel* s)
    {
        using M = QAbstractItemModel;
        connect(s, &M::rowsAboutToBeInserted, this, [this](const QModelIndex& p, int a, int b) {
            beginInsertRows(proxyParent(p), a, b);
        });
        connect(s, &M::rowsInserted, this, [this] { endInsertRows(); });
        connect(s, &M::rowsAboutToBeRemoved, this, [this](const QModelIndex& p, int a, int b) {
            beginRemoveRows(proxyParent(p), a, b);
        });
        connect(s, &M::rowsRemoved, this, [this] { endRemoveRows(); });
        connect(s, &M::rowsAboutToBeMoved, this,
                [this](const QModelIndex& p, int a, int b, const QModelIndex& d, int r) {
                    beginMoveRows(proxyParent(p), a, b, proxyParent(d), r);
                });
        connect(s, &M::rowsMoved, this, [this] { endMoveRows(); });
        connect(s, &M::dataChanged, this,
                [this](const QModelIndex& tl, const QModelIndex& br, const QList<int>& roles) {
                    emit dataChanged(mapFromSource(tl), mapFromSource(br), roles);
                });
        connect(s, &M::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
        connect(s, &M::modelAboutToBeReset, this, [this] { beginResetModel(); });
        connect(s, &M::modelReset, this, [this] { endResetModel(); });
        connect(s, &M::layoutAboutToBeChanged, this,
                [this](const QList<QPersistentModelIndex>& parents,
                       QAbstractItemModel::LayoutChangeHint hint) {
                    QList<QPersistentModelIndex> mapped;
                    for (const auto& p : parents)
                        mapped << QPersistentModelIndex(proxyParent(p));
                    emit layoutAboutToBeChanged(mapped, hint);
                    // Remember where each open proxy index points, to re-point it after.
                    m_layoutProxy.clear();
                    m_layoutSource.clear();
                    for (const QModelIndex& pi : persistentIndexList()) {
                        if (isRoot(pi))
                            continue;
                        m_layoutProxy << pi;
                        m_layoutSource << QPersistentModelIndex(mapToSource(pi));
                    }
                });
        connect(s, &M::layoutChanged, this,
                [this](const QList<QPersistentModelIndex>& parents,
                       QAbstractItemModel::LayoutChangeHint hint) {
                    QModelIndexList to;
                    to.reserve(m_layoutSource.size());
                    for (const auto& src : m_layoutSource)
                        to << mapFromSource(src);
                    changePersistentIndexList(m_layoutProxy, to);
                    m_layoutProxy.clear();
                    m_layoutSource.clear();
                    QList<QPersistentModelIndex> mapped;
                    for (const auto& p : parents)
                        mapped << QPersistentModelIndex(proxyParent(p));
                    emit layoutChanged(mapped, hint);
                });
    }

    QString m_title;
    QIcon m_icon;
    QModelIndexList m_layoutProxy;
    QList<QPersistentModelIndex> m_layoutSource;
};

TShellFolderTree::TShellFolderTree(QWidget* parent)
    : QTreeView(parent), m_fs(new QFileSystemModel(this))
{
    m_fs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_fs->setReadOnly(false);
    m_fs->setRootPath(QString());

    QFileIconProvider icons;
    m_model = new VirtualRootModel(QStringLiteral("Arbeitsplatz"),
                                  icons.icon(QFileIconProvider::Computer), this);
    m_model->setSourceModel(m_fs);
    setModel(m_model);

    setHeaderHidden(true);
    for (int c = 1; c < m_fs->columnCount(); ++c)
        hideColumn(c);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Only a folder the user just created is offered for renaming; no other folder can
    // be renamed from here by a stray click.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setAnimated(false);
    expand(m_model->rootIndex());

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    // The file-system model reorders and refills its rows behind the view's back; the
    // highlighted node must stay on the folder that was reported, or the next action
    // would work on a folder the user never chose.
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] { keepSelectedFolder(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { keepSelectedFolder(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { keepSelectedFolder(); });
    connect(m_fs, &QFileSystemModel::directoryLoaded, this, [this] { revealSelection(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { revealSelection(); });
    // Sorting a freshly loaded folder moves the rows after they were revealed.
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] { revealSelection(); });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this,
            [this] { m_revealPending = false; });
    connect(m_fs, &QFileSystemModel::fileRenamed, this,
            [this](const QString& folder, const QString& oldName, const QString& newName) {
                onFileRenamed(folder, oldName, newName);
            });
}

TShellFolderTree::~TShellFolderTree() = default;

QString TShellFolderTree::virtualRootTitle() const
{
    return m_model->rootIndex().data().toString();
}

QString TShellFolderTree::selectedPath() const
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid() || VirtualRootModel::isRoot(cur))
        return {};
    return m_fs->filePath(m_model->mapToSource(cur));
}

bool TShellFolderTree::isVirtualRootSelected() const
{
    return VirtualRootModel::isRoot(currentIndex());
}

QModelIndex TShellFolderTree::proxyIndexOfPath(const QString& path) const
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isDir())
        return {};
    return m_model->mapFromSource(m_fs->index(QDir::cleanPath(info.absoluteFilePath())));
}

bool TShellFolderTree::selectPath(const QString& path)
{
    const QModelIndex target = proxyIndexOfPath(path);
    if (!target.isValid()) {
        selectVirtualRoot();
        return false;
    }
    for (QModelIndex a = target.parent(); a.isValid(); a = a.parent())
        expand(a);
    setCurrentIndex(target);
    scrollTo(target, QAbstractItemView::PositionAtCenter);
    m_revealPending = true;
    return true;
}

void TShellFolderTree::revealSelection()
{
    if (!m_revealPending)
        return;
    QTimer::singleShot(0, this, [this] {
        if (m_revealPending && currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

void TShellFolderTree::showEvent(QShowEvent* event)
{
    QTreeView::showEvent(event);
    // A folder chosen while hidden, or whose rows were all loaded before, is brought
    // into view once the tree has its size on screen.
    if (m_revealPending && currentIndex().isValid()) {
        scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
        revealSelection();
    }
}

void TShellFolderTree::mousePressEvent(QMouseEvent* event)
{
    m_revealPending = false;
    QTreeView::mousePressEvent(event);
}

void TShellFolderTree::keyPressEvent(QKeyEvent* event)
{
    m_revealPending = false;
    QTreeView::keyPressEvent(event);
}

void TShellFolderTree::wheelEvent(QWheelEvent* event)
{
    m_revealPending = false;
    QTreeView::wheelEvent(event);
}

void TShellFolderTree::selectVirtualRoot()
{
    setCurrentIndex(m_model->rootIndex());
    scrollTo(m_model->rootIndex());
}

QString TShellFolderTree::createFolder()
{
    const QString parentPath = selectedPath();
    if (parentPath.isEmpty())
        return {};
    const QDir parentDir(parentPath);
    const QString base = QStringLiteral("Neuer Ordner");
    QString name = base;
    for (int n = 2; parentDir.exists(name); ++n) {
        if (n > 999)
            return {};
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    }
    const QModelIndex created = m_fs->mkdir(m_fs->index(parentPath), name);
    if (!created.isValid())
        return {};
    const QModelIndex p = m_model->mapFromSource(created);
    expand(p.parent());
    setCurrentIndex(p);
    scrollTo(p);
    edit(p);
    return m_fs->filePath(created);
}

void TShellFolderTree::keepSelectedFolder()
{
    if (m_healPending)
        return;
    m_healPending = true;
    QTimer::singleShot(0, this, [this] {
        m_healPending = false;
        const QString now = selectedPath();
        if (now == m_lastReported || m_lastReported.isEmpty())
            return;
        const QModelIndex wanted = proxyIndexOfPath(m_lastReported);
        if (!wanted.isValid() || m_fs->filePath(m_model->mapToSource(wanted)) != m_lastReported) {
            // The folder is gone: what is highlighted now is the choice.
            m_lastReported = now;
            emit selectedPathChanged(now);
            return;
        }
        m_healing = true;
        setCurrentIndex(wanted);
        m_healing = false;
    });
}

void TShellFolderTree::onCurrentChanged(const QModelIndex&)
{
    if (m_healing)
        return;
    m_lastReported = selectedPath();
    emit selectedPathChanged(m_lastReported);
}

void TShellFolderTree::onFileRenamed(const QString&, const QString&, const QString&)
{
    // A rename of the selected folder or of one of its ancestors moves the selection.
    const QString now = selectedPath();
    if (now != m_lastReported) {
        m_lastReported = now;
        emit selectedPathChanged(now);
    }
}

} // namespace gf
