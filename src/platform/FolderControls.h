#pragma once
// The drive list and the folder list of the original platform's forms. Both fire
// Change when what they show changes, whether the user or the program changed it.
#include <QComboBox>
#include <QString>
#include <QTreeWidget>

// The mounted volumes, each shown by its root folder.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);
    // The root of the chosen volume, "" before one is chosen.
    QString Drive() const;
    // Chooses the volume that holds the path.
    void setDrive(const QString& path);

signals:
    void Change();
};

// The folder shown with the folders above it and the folders inside it. A double
// click or Enter on a folder opens it.
class DirListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);
    // The folder shown, "" before one is set.
    QString Path() const { return path_; }
    // Shows a folder; a folder that does not exist is error 76.
    void setPath(const QString& path);

signals:
    void Change();

protected:
    // The folders always stand open: no expand and collapse marks.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void Fill();
    QString path_;
};
