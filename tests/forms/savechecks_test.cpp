// The save dialog of the CSV export, as the real window shows it: the box
// "表計算ソフト用に安全な形で出力" sits below the file controls, unticked, and what the user ticks
// comes back with the chosen file.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "interchange/csvexport.h"
#include "tests/support/tempdir.h"
#include "ui/qtinteraction.h"

namespace talik::test {
namespace {

// Ticks the box (or leaves it) in the file dialog once it shows, types the name and accepts.
void AnswerSaveDialog(const QString& path, bool tick, bool& boxSeen, bool& startedTicked)
{
    QTimer::singleShot(0, [=, &boxSeen, &startedTicked] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QCheckBox*>("SaveOption0");
        boxSeen = box != nullptr && box->text() == "表計算ソフト用に安全な形で出力" && box->isVisible();
        if (box != nullptr) {
            startedTicked = box->isChecked();
            box->setChecked(tick);
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own check of the name runs
    });
}

TEST(SaveDialogChecks, TheExportDialogCarriesTheFormulaSafeBoxAndReturnsItsState)
{
    TempDir dir;
    QtInteraction ui{"Rinmaro"};
    for (bool tick : {true, false}) {
        bool boxSeen = false;
        bool startedTicked = true;
        const QString path = QString::fromStdString(dir.str() + "/out.csv");
        AnswerSaveDialog(path, tick, boxSeen, startedTicked);
        auto job = ChooseCsvTarget(ui, ExportScope::WholeDatabase);
        ASSERT_TRUE(job.has_value());
        EXPECT_TRUE(boxSeen);
        EXPECT_FALSE(startedTicked);
        EXPECT_EQ(job->formulaSafe, tick);
        EXPECT_EQ(job->path, dir.str() + "/out.csv");
    }
}

} // namespace
} // namespace talik::test
