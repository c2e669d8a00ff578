#pragma once
// What the three print confirmation dialogs share: the preview of the card or page on show, paging,
// the print buttons with their question and loop, the printer and PDF output, and the guard that
// keeps the dialog open and still while it prints.
#include <QDialog>
#include <QImage>
#include <QSizeF>
#include <functional>
#include <memory>
#include <vector>

#include "print/printjob.h"
#include "print/printloop.h"
#include "ui/readiness.h"

class QBoxLayout;
class QCheckBox;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace talik {

struct AppState;
class QtCanvas;

class PrintDialog : public QDialog
{
    Q_OBJECT
public:
    ~PrintDialog() override;

    // Draws the card or page on show again (after a sub-dialog changed the settings).
    void redrawPreview();
    // Back to the first card or page and redrawn, as after a confirmed layout sub-dialog.
    void redrawFromStart();
    // Asks a running print to end after the card or page it is on.
    void requestStop();
    bool printing() const { return m_running; }
    // Closes the dialog, except while it prints.
    void reject() override;
    PrintJob& job() { return m_job; }
    // The records of the recipient lines, in order, as the list gave them: without them the dialog
    // offers neither this year's recipients only nor the sent marks after a print.
    void setRecipients(std::vector<std::int32_t> recNos);
    const QImage& previewImage() const { return m_image; }

protected:
    PrintDialog(AppState& state, char kind, PrintTable table, QWidget* parent, const Readiness& ready);

    // The window's parts, built by the subclass in this order: the buttons of its right column,
    // then finish() once they are all there.
    QPushButton* addButton(const char* name, const QString& caption);
    QPushButton* addPrintButton(const char* name, const QString& caption, std::function<PrintRange()> range);
    QCheckBox* addCheck(const char* name, const QString& caption, bool checked);
    // "今年の宛先だけ": the job cut to the people who get a card in the card year.
    void addSeasonCheck();
    QBoxLayout* column() const;
    void finish();

    // The page and its scale on the preview, millimetres.
    virtual QSizeF pageSizeMm() const = 0;
    virtual double previewScale() const;
    // Drawn over the engine's drawing (the postcard's outline and code boxes).
    virtual void decoratePreview(QtCanvas& canvas);
    // The states of the subclass's own controls when not printing.
    virtual void enableOwnControls() {}
    // The whole job, for "PDF に保存".
    virtual PrintRange wholeJob() const = 0;

    // The sub-dialog pattern: when the sub-dialog left PrintKind other than " " (confirmed), it is
    // reset and the job shown again from its start.
    void afterSubDialog();
    // Whether the dialog has been shown (option changes redraw only from then on).
    bool active() const { return m_active; }
    void choosePrinter();
    void enableControls();
    // "位置確認用シート印刷": the calibration sheet on the printer (or a PDF).
    void printCalibration();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppState& m_state;
    const Readiness m_ready;
    const char m_kind;
    PrintTable m_table;
    PrintJob m_job;
    std::vector<QWidget*> m_controls; // every control that rests while printing

private:
    void step(int by);
    void orderTabs();
    // Pages for Page Up/Down, the arrows, Home and End, wherever the focus is; false for other keys.
    bool pageKey(const QKeyEvent* event);
    void print(const PrintRange& range);
    void printToPdf();
    void run(const PrintRange& range, QtCanvas& paper, const std::string& where);
    std::unique_ptr<QtCanvas> openPrinter(std::string& where);
    std::unique_ptr<QtCanvas> openPdf(std::string& where);
    std::unique_ptr<QtCanvas> openPdfFile(const std::string& path, std::string& where);
    void chooseSeasonOnly(bool on);
    // After a print that went through in full: asks whether its people were sent a card this year.
    void offerSentMarks(const PrintRange& range, const PrintRunResult& result);
    std::vector<std::int32_t> printedRecords(const PrintRange& range) const;
    int firstRecipientLine() const;
    void ensureImage();
    void showImage();
    void updatePosition();

    QImage m_image;
    std::unique_ptr<QtCanvas> m_canvas;
    QScrollArea* m_scroll;
    QLabel* m_picture;
    QLabel* m_position;    // Label1: "3/10 件目" or "1 / 3"
    QLabel* m_progress;    // "n / m 件" while printing
    QPushButton* m_prev;   // Command1(0)
    QPushButton* m_next;   // Command1(1)
    QPushButton* m_close;  // Command3
    QPushButton* m_pdf;    // "PDF に保存"
    QPushButton* m_stop;   // "中止"
    QVBoxLayout* m_column; // the buttons on the right
    QCheckBox* m_seasonOnly = nullptr;
    PrintTable m_wholeTable;                 // the job as the list gave it, while cut to this year's people
    std::vector<std::int32_t> m_wholeRecNos; // its records
    std::vector<std::int32_t> m_recNos;      // the records of the lines on show now
    bool m_running = false;
    bool m_stopRequested = false;
    bool m_active = false;
};

} // namespace talik
