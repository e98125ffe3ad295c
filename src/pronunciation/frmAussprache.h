#pragma once
// The pronunciation guide: letter groups of the open database's foreign
// language and how to pronounce them.
#include <QDialog>
#include <QString>
#include <QtGlobal>

class QLabel;
class QPushButton;
class MSFlexGrid;

// The window exists in German only. It is modeless and without an owner,
// created when needed and deleted ("unloaded") when closed.
class frmAussprache : public QDialog {
    Q_OBJECT
public:
    // Horizontal and vertical twips per unit of the window's own scale.
    static constexpr double kScaleX = 1.064904;
    static constexpr double kScaleY = 1.448818;

    explicit frmAussprache(QWidget* parent = nullptr);

    QLabel* labLanguage;
    MSFlexGrid* MSFlexGrid1;
    QPushButton* cmdOK;

    // The grid's default row height in twips, read once while loading.
    qint16 DefaultRowHeight = 0;

    // Set-up, table and label from Form1.lang2 as it is now.
    void Form_Load();
    void cmdOK_Click();
    // Chooses the table for Form1.lang2 and writes it into the grid.
    void SetzeGrid();
    // One row down; appends an empty row when the current row is the last.
    void NextRow();
    // The grid's width in the window's scale units (its design width is in twips).
    double gridScaleWidth() const;

    // Procedures no command uses (frmAussprache_Unbound.cpp).
    // Reads one value of the platform registry; there is no registry here.
    bool GetKeyValue(qint32& keyRoot, QString& keyName, QString& subKeyRef, QString& keyVal);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void keepCellFont();

    QString m_lang2; // the foreign language read at loading
};

// Shows the guide modeless, without an owner; creates it first when needed.
void showPronunciationGuide();

// The guide while it is loaded, else nullptr.
frmAussprache* pronunciationGuide();
