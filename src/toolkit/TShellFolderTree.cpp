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
        : QAbstractProxyModel(parent), title_(std::move(title)), icon_(std::move(icon))
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
                return title_;
            if (role == Qt::DecorationRole)
                return icon_;
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
        if (!IsUsableFolderName(name))
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

    static bool IsUsableFolderName(const QString& name)
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
                    layoutProxy_.clear();
                    layoutSource_.clear();
                    for (const QModelIndex& pi : persistentIndexList()) {
                        if (isRoot(pi))
                            continue;
                        layoutProxy_ << pi;
                        layoutSource_ << QPersistentModelIndex(mapToSource(pi));
                    }
                });
        connect(s, &M::layoutChanged, this,
                [this](const QList<QPersistentModelIndex>& parents,
                       QAbstractItemModel::LayoutChangeHint hint) {
                    QModelIndexList to;
                    to.reserve(layoutSource_.size());
                    for (const auto& src : layoutSource_)
                        to << mapFromSource(src);
                    changePersistentIndexList(layoutProxy_, to);
                    layoutProxy_.clear();
                    layoutSource_.clear();
                    QList<QPersistentModelIndex> mapped;
                    for (const auto& p : parents)
                        mapped << QPersistentModelIndex(proxyParent(p));
                    emit layoutChanged(mapped, hint);
                });
    }

    QString title_;
    QIcon icon_;
    QModelIndexList layoutProxy_;
    QList<QPersistentModelIndex> layoutSource_;
};

TShellFolderTree::TShellFolderTree(QWidget* parent)
    : QTreeView(parent), fs_(new QFileSystemModel(this))
{
    fs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    fs_->setReadOnly(false);
    fs_->setRootPath(QString());

    QFileIconProvider icons;
    model_ = new VirtualRootModel(QStringLiteral("Arbeitsplatz"),
                                  icons.icon(QFileIconProvider::Computer), this);
    model_->setSourceModel(fs_);
    setModel(model_);

    setHeaderHidden(true);
    for (int c = 1; c < fs_->columnCount(); ++c)
        hideColumn(c);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Only a folder the user just created is offered for renaming; no other folder can
    // be renamed from here by a stray click.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setAnimated(false);
    expand(model_->rootIndex());

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    // The file-system model reorders and refills its rows behind the view's back; the
    // highlighted node must stay on the folder that was reported, or the next action
    // would work on a folder the user never chose.
    connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { keepSelectedFolder(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { keepSelectedFolder(); });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { keepSelectedFolder(); });
    connect(fs_, &QFileSystemModel::directoryLoaded, this, [this] { revealSelection(); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { revealSelection(); });
    // Sorting a freshly loaded folder moves the rows after they were revealed.
    connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { revealSelection(); });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this,
            [this] { revealPending_ = false; });
    connect(fs_, &QFileSystemModel::fileRenamed, this,
            [this](const QString& folder, const QString& oldName, const QString& newName) {
                onFileRenamed(folder, oldName, newName);
            });
}

TShellFolderTree::~TShellFolderTree() = default;

QString TShellFolderTree::virtualRootTitle() const
{
    return model_->rootIndex().data().toString();
}

QString TShellFolderTree::selectedPath() const
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid() || VirtualRootModel::isRoot(cur))
        return {};
    return fs_->filePath(model_->mapToSource(cur));
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
    return model_->mapFromSource(fs_->index(QDir::cleanPath(info.absoluteFilePath())));
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
    revealPending_ = true;
    return true;
}

void TShellFolderTree::revealSelection()
{
    if (!revealPending_)
        return;
    QTimer::singleShot(0, this, [this] {
        if (revealPending_ && currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

void TShellFolderTree::showEvent(QShowEvent* event)
{
    QTreeView::showEvent(event);
    // A folder chosen while hidden, or whose rows were all loaded before, is brought
    // into view once the tree has its size on screen.
    if (revealPending_ && currentIndex().isValid()) {
        scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
        revealSelection();
    }
}

void TShellFolderTree::mousePressEvent(QMouseEvent* event)
{
    revealPending_ = false;
    QTreeView::mousePressEvent(event);
}

void TShellFolderTree::keyPressEvent(QKeyEvent* event)
{
    revealPending_ = false;
    QTreeView::keyPressEvent(event);
}

void TShellFolderTree::wheelEvent(QWheelEvent* event)
{
    revealPending_ = false;
    QTreeView::wheelEvent(event);
}

void TShellFolderTree::selectVirtualRoot()
{
    setCurrentIndex(model_->rootIndex());
    scrollTo(model_->rootIndex());
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
    const QModelIndex created = fs_->mkdir(fs_->index(parentPath), name);
    if (!created.isValid())
        return {};
    const QModelIndex p = model_->mapFromSource(created);
    expand(p.parent());
    setCurrentIndex(p);
    scrollTo(p);
    edit(p);
    return fs_->filePath(created);
}

void TShellFolderTree::keepSelectedFolder()
{
    if (healPending_)
        return;
    healPending_ = true;
    QTimer::singleShot(0, this, [this] {
        healPending_ = false;
        const QString now = selectedPath();
        if (now == lastReported_ || lastReported_.isEmpty())
            return;
        const QModelIndex wanted = proxyIndexOfPath(lastReported_);
        if (!wanted.isValid() || fs_->filePath(model_->mapToSource(wanted)) != lastReported_) {
            // The folder is gone: what is highlighted now is the choice.
            lastReported_ = now;
            emit selectedPathChanged(now);
            return;
        }
        healing_ = true;
        setCurrentIndex(wanted);
        healing_ = false;
    });
}

void TShellFolderTree::onCurrentChanged(const QModelIndex&)
{
    if (healing_)
        return;
    lastReported_ = selectedPath();
    emit selectedPathChanged(lastReported_);
}

void TShellFolderTree::onFileRenamed(const QString&, const QString&, const QString&)
{
    // A rename of the selected folder or of one of its ancestors moves the selection.
    const QString now = selectedPath();
    if (now != lastReported_) {
        lastReported_ = now;
        emit selectedPathChanged(now);
    }
}

} // namespace gf
