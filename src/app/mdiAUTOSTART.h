#pragma once
// The start window: an MDI child that stays for the whole run, showing the
// institution, the program's title and version, and the progress bar that the
// page commands, the calculation and the page loads drive.
#include <QFrame>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QWidget>
#include <array>

// A control's place in twips, as the layout computed it (single precision).
struct TwipsRect {
    float Left = 0, Top = 0, Width = 0, Height = 0;
};

class mdiAUTOSTART : public QWidget {
    Q_OBJECT
public:
    // sprache: the main window's language code (1 English, 3 German).
    explicit mdiAUTOSTART(int sprache, QWidget* parent = nullptr);

    // Sets the texts and lays the controls out once for the main window's client
    // area of scaleWidth x scaleHeight twips; the progress bar ends hidden.
    void Form_Load(double scaleWidth, double scaleHeight);

    TwipsRect Twips(const QString& controlName) const { return twips_.value(controlName); }
    // The size it is laid out for: the client area Form_Load was given.
    QSize sizeHint() const override { return designed_; }

    QFrame* fraKOPF;
    std::array<QLabel*, 4> lblKOPF;
    QLabel* imgMIRL;
    QLabel* lblTITEL;
    QLabel* lblUNTERTITEL;
    QLabel* imgDIA;
    QLabel* lblVERSION;
    QProgressBar* pgbBERECHNEN;

protected:
    // The start window cannot be closed by the user; the end of the program deletes it.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* NewLabel(QWidget* parent, const QString& name, double pointSize, bool bold);
    void SetTextSized(QLabel* label, const QString& text);
    void Place(QWidget* w, TwipsRect r);
    TwipsRect SizeOf(QLabel* label) const;

    int sprache_;
    QMap<QString, TwipsRect> twips_;
    QSize designed_;
};
