#pragma once

#include "app/MainWindow.h"
#include "pages/GraphicsPage.h"
#include "pages/KeyAliasesPage.h"
#include "pages/KeyBindingsPage.h"
#include "pages/PlayerPage.h"
#include "ui/EditMenu.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QStackedWidget>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fenwake::test {

// What a message box must look like, and the button to press on it.
struct ExpectedBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; // NoButton: not checked
    QMessageBox::StandardButton press = QMessageBox::Ok;
};

// The question both pages' reset buttons ask, answered with OK.
inline const ExpectedBox kResetQuestion{"Question",
                                        "Are you sure you want to do this?",
                                        QMessageBox::Question,
                                        QMessageBox::Ok | QMessageBox::Cancel,
                                        QMessageBox::Ok,
                                        QMessageBox::Ok};

// Answers the next message boxes, in order, from a timer while the code under
// test runs its modal loop. Each box is checked before it is answered;
// Verify() fails the test for boxes that never came or came unexpected.
class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer& Expect(ExpectedBox box);
    // Boxes seen so far (caption: text), expected or not.
    const std::vector<QString>& Seen() const { return seen_; }
    void Verify();

private:
    void Poll();
    std::vector<ExpectedBox> queue_;
    std::vector<QString> seen_;
    std::vector<std::string> failures_;
    QTimer timer_;
};

// A fresh game System directory, the current directory while the test runs.
class GameDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the bundled sample User.ini and DeusEx.ini here.
    void CopySamples();
    static void Put(const std::filesystem::path& name, const std::string& bytes);
    static std::string Get(const std::filesystem::path& name);

    // Builds the main window (running the start-up sequence).
    MainWindow& Window();

    // The notebook's pages by name ("Default", "Graphics", "Misc", "AL").
    QWidget* Page(const char* name) { return Find<QWidget>(name); }
    void ShowPage(const char* name);
    QString CurrentPageName();

    template <class T>
    T* Find(const char* name)
    {
        T* w = Window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << "no control named " << name;
        return w;
    }

    std::filesystem::path dir_;
    std::filesystem::path state_; // the user's data folder
    std::unique_ptr<MainWindow> window_;

private:
    std::filesystem::path old_;
};

} // namespace fenwake::test
