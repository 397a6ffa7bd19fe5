#include "GuiTest.h"

#include "TempDir.h"

#include "app/Application.h"
#include "ui/Messages.h"

#include <QAbstractButton>
#include <QPushButton>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fenwake::test {

BoxAnswerer::BoxAnswerer()
{
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
}

BoxAnswerer::~BoxAnswerer() { timer_.stop(); }

BoxAnswerer& BoxAnswerer::Expect(ExpectedBox box)
{
    queue_.push_back(std::move(box));
    return *this;
}

void BoxAnswerer::Poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    seen_.push_back(box->windowTitle() + ": " + box->text());
    if (queue_.empty()) {
        failures_.push_back("unexpected box " + seen_.back().toStdString());
        box->reject();
        return;
    }
    const ExpectedBox want = queue_.front();
    queue_.erase(queue_.begin());
    auto check = [&](bool ok, const std::string& what) {
        if (!ok) failures_.push_back(what + " of box " + seen_.back().toStdString());
    };
    check(box->windowTitle() == want.caption, "caption '" + want.caption.toStdString() + "' expected");
    check(box->text() == want.text, "text '" + want.text.toStdString() + "' expected");
    check(box->icon() == want.icon, "icon");
    check(box->standardButtons() == want.buttons, "buttons");
    if (want.defaultButton != QMessageBox::NoButton) {
        check(box->defaultButton() == box->button(want.defaultButton), "default button");
    }
    check(box->windowModality() != Qt::NonModal, "modality");
    if (QAbstractButton* b = box->button(want.press)) {
        b->click();
    } else {
        failures_.push_back("no button to press on " + seen_.back().toStdString());
        box->reject();
    }
}

void BoxAnswerer::Verify()
{
    for (const auto& f : failures_) ADD_FAILURE() << f;
    for (const auto& b : queue_)
        ADD_FAILURE() << "box never shown: " << b.caption.toStdString() << ": " << b.text.toStdString();
    failures_.clear();
    queue_.clear();
}

void GameDirTest::SetUp()
{
    old_ = std::filesystem::current_path();
    dir_ = MakeTempDir();
    std::filesystem::current_path(dir_);
    state_ = MakeTempDir();
    UseDataFolderIn(state_);
    ui::SetApplicationTitle(QStringLiteral("Fenwake"));
}

void GameDirTest::TearDown()
{
    window_.reset();
    std::filesystem::current_path(old_);
    RemoveTree(dir_);
    RemoveTree(state_);
}

void GameDirTest::CopySamples()
{
    const std::filesystem::path samples = std::filesystem::path(FENWAKE_SAMPLES_DIR) / "game" / "System";
    for (const char* name : {"User.ini", "DeusEx.ini"}) std::filesystem::copy_file(samples / name, dir_ / name);
}

void GameDirTest::Put(const std::filesystem::path& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string GameDirTest::Get(const std::filesystem::path& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

MainWindow& GameDirTest::Window()
{
    if (!window_) window_ = std::make_unique<MainWindow>();
    return *window_;
}

void GameDirTest::ShowPage(const char* name) { Find<QStackedWidget>("Notebook1")->setCurrentWidget(Page(name)); }

QString GameDirTest::CurrentPageName() { return Find<QStackedWidget>("Notebook1")->currentWidget()->objectName(); }

} // namespace fenwake::test

int main(int argc, char** argv)
{
    // Wine passes no QT_ variable on to a Windows program, so the default is
    // the tests' own.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    fenwake::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    // A box nobody answers would hang the run: fail the test and close it.
    QTimer watchdog;
    QMessageBox* lastSeen = nullptr;
    int ticks = 0;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box != lastSeen) {
            lastSeen = box;
            ticks = 0;
            return;
        }
        if (++ticks < 6) return;
        ADD_FAILURE() << "unanswered message box: " << box->windowTitle().toStdString() << ": "
                      << box->text().toStdString();
        box->reject();
        lastSeen = nullptr;
    });
    watchdog.start(500);
    return RUN_ALL_TESTS();
}
