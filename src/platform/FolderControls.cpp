#include "FolderControls.h"
#include "FileOps.h"
#include "VbError.h"
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent)
{
    for (const QString& root : Drives())
        addItem(root, root);
    setCurrentIndex(-1);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::Change);
}

QString DriveListBox::Drive() const
{
    return currentData().toString();
}

void DriveListBox::setDrive(const QString& path)
{
    const QString root = DriveName(path);
    int index = findData(root);
    if (index < 0) {
        addItem(root, root);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString folder = item->data(0, Qt::UserRole).toString();
        if (FolderExists(folder))
            setPath(folder);
        else
            Fill();   // it has gone meanwhile: show what is there now
    });
}

void DirListBox::setPath(const QString& path)
{
    if (!FolderExists(path))
        throw VbError(VbErr::PathNotFound);
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (folder == path_)
        return;
    path_ = folder;
    Fill();
    emit Change();
}

void DirListBox::Fill()
{
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The chain from the root down to the folder shown, each inside the one above.
    QStringList chain;
    for (QString p = path_; !p.isEmpty(); p = p == QStringLiteral("/") ? QString() : ParentFolder(p))
        chain.prepend(p);
    QTreeWidgetItem* parent = nullptr;
    for (const QString& folder : chain) {
        const QString name = folder == QStringLiteral("/") ? folder : folder.mid(folder.lastIndexOf(QLatin1Char('/')) + 1);
        auto* item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(this, {name});
        item->setIcon(0, open);
        item->setData(0, Qt::UserRole, folder);
        parent = item;
    }
    const QString prefix = path_.endsWith(QLatin1Char('/')) ? path_ : path_ + QLatin1Char('/');
    for (const QString& name : SubFolders(path_)) {
        auto* item = new QTreeWidgetItem(parent, {name});
        item->setIcon(0, closed);
        item->setData(0, Qt::UserRole, prefix + name);
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent, QAbstractItemView::PositionAtTop);
}
