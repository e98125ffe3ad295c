#pragma once
// The shared progress window of long operations (list building, shuffling).
// It has no logic of its own: its users set the caption, the bar and the
// status text, show it, repaint it and hide it.
#include <QDialog>

class QProgressBar;
class QLineEdit;

class Progress : public QDialog {
    Q_OBJECT
public:
    explicit Progress(QWidget* parent = nullptr);

    QProgressBar* ProgressBar1;
    QLineEdit* txtStatus;

    // The bar's Min, Max and Value are single-precision numbers in the windows;
    // these keep them and show them on the bar (a value past Max shows as Max)
    // at once while the window is hidden, else at the next repaint.
    void setMin(double v);
    void setMax(double v);
    void setValue(double v);
    double Min() const { return m_min; }
    double Max() const { return m_max; }
    double Value() const { return m_value; }
    // Repaints now, at most about 30 times a second unless force is set.
    void Refresh(bool force = false);
    // Showing returns once the window is on the screen (or after half a
    // second), so the work that follows is seen.
    void setVisible(bool visible) override;

private:
    void showValue();
    void waitForExposure(bool exposed);
    double m_min = 0, m_max = 100, m_value = 0;
    qint64 m_lastPaint = 0;
    unsigned m_unforced = 0;
};
