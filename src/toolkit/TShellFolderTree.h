#pragma once

#include <QTreeView>

class QFileSystemModel;

namespace gf {

class VirtualRootModel;

// Folder tree of the file system under one node that has no path of its own
// ("Arbeitsplatz"), the way the shell shows drives below the computer.
// Only folders are shown; the tree follows changes on disk.
class TShellFolderTree final : public QTreeView
{
    Q_OBJECT

public:
    explicit TShellFolderTree(QWidget* parent = nullptr);
    ~TShellFolderTree() override;

    // Path of the selected folder without trailing separator ("/" for the file-system
    // root); empty when the node without path or nothing is selected.
    QString selectedPath() const;
    bool isVirtualRootSelected() const;

    // Selects the folder, opening its ancestors; an empty or missing path selects the
    // node without path and returns false.
    bool selectPath(const QString& path);
    void selectVirtualRoot();

    // Creates "Neuer Ordner" (numbered when taken) below the selected folder, selects it
    // and opens its name for editing. Returns the new path, or empty on failure.
    QString createFolder();

    QString virtualRootTitle() const;

signals:
    // Raised whenever the selected node changes or the selected folder is renamed;
    // the path is empty for the node without path.
    void selectedPathChanged(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void revealSelection();
    void onCurrentChanged(const QModelIndex& current);
    void onFileRenamed(const QString& folder, const QString& oldName, const QString& newName);
    QModelIndex proxyIndexOfPath(const QString& path) const;
    void keepSelectedFolder();

    QFileSystemModel* m_fs;
    VirtualRootModel* m_model;
    QString m_lastReported;
    bool m_healing = false;
    bool m_healPending = false;
    // Until the person touches the tree, a folder chosen by the program is kept in view
    // while the folders above it are still being read.
    bool m_revealPending = false;
};

} // namespace gf
