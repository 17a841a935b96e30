// The monkey: a seeded random user at the main window (strokes, buttons, check boxes, sliders,
// current boxes, any enabled menu command and the dialog it opens, good and bad files, closing
// and a new window, the pointer), each action queued at a random small delay so that many land
// while a calculation or a drawing yields, and checked after it. A failure prints the seed, the
// action and the last 20 actions.
//   monkey_test                                  the fixed sequences (seed S, grid G as below)
//   monkey_test --actions N --seed S --grid G    a random run (grid 50, 100, 200 or 400)

#include <signal.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <random>
#include <thread>

#include "app/support/window_driver.h"
#include "io/project_file.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// The seed, the latest action begun, the innermost one running and the last 20 actions, where
// a crash handler finds them (the actions only on the main thread, which writes them).
unsigned long long gSeed = 0;
std::atomic<int> gLast = 0, gNow = 0;
char gTrail[20][160];
const std::thread::id gMainThread = std::this_thread::get_id();

void PrintTrail() {
    std::fprintf(stderr, "monkey: seed %llu, failed at action %d; the last actions:\n", gSeed,
                 gNow.load());
    for (int k = std::max(1, gLast - 19); k <= gLast && std::this_thread::get_id() == gMainThread;
         ++k)
        std::fprintf(stderr, "  %s\n", gTrail[k % 20]);
}

class Monkey : public QObject {
  public:
    Monkey(unsigned long long seed, int grid) : rng_(seed), grid_(grid) {
        QDir(dir_.path()).mkpath("other");
        const QString samples = TESVID_SOURCE_DIR "/samples/";
        QFile sample(samples + "opposing_coils.tvd");
        (void)sample.open(QIODevice::ReadOnly);
        Write("cut.tvd", sample.read(3000));
        Write("empty.tvd", {});
        Write("garbage", QByteArray("TVD2.1\x32\0junk", 12));
        // Projects saved by the run, bad files, a folder, the samples; names that save
        // (one without a suffix) and ones that fail.
        opens_ = Paths("p0.tvd p1.tvd p2.tvd p3.tvd cut.tvd empty.tvd garbage missing.tvd .") +
                 QStringList{"", "cancel", samples + "opposing_coils.tvd"};
        if (grid >= 100)
            opens_ << samples + "air_core_solenoid.tvd";
        saves_ = Paths("p0.tvd p1.tvd p2.tvd p3 no/such/x.tvd garbage/x.tvd") +
                 QStringList{"", "cancel"};
        // Records the project files answered: 'o'pen or 's'ave and the path, a name without a
        // suffix with the filter's.
        dialogs_.answer = [this](bool save, const QString& filter) -> std::optional<QString> {
            const QString ext = QRegularExpression("\\*\\.(\\w+)").match(filter).captured(1);
            const QString path =
                filter.contains("*.tvd")
                    ? Pick(save ? saves_ : opens_)
                    : Pick(QStringList{Path("other/x." + ext), "cancel", Path("no/such/y")});
            if (path == "cancel")
                return std::nullopt;
            if (filter.contains("*.tvd") && !path.isEmpty())
                files_.emplace_back(save ? 's' : 'o',
                                    path + (QFileInfo(path).suffix().isEmpty() ? ".tvd" : ""));
            return path;
        };
        const auto index = std::find(kGridSizes, std::end(kGridSizes), grid) - kGridSizes;
        services_.WriteSettingsFile("[Grid]\nComboGrid=" + QByteArray::number(index) +
                                    "\n[Misc]\nTextMainSteps=4\n");
    }

    // A random run of n actions.
    bool Run(int n) {
        left_ = n;
        Next();
        loop_.exec();
        if (left_ > 0)
            std::fprintf(stderr, "monkey: the event loop ended with %d actions left\n", left_);
        return left_ == 0;
    }
    // Actions by name, each once the one before has ended.
    void Replay(const QStringList& names) {
        for (const QString& name : names)
            Do(name);
    }
    QString Summary() const {
        return QString::asprintf("%d during a run or drawing, %d windows, %d files, %d messages",
                                 busyActions_, windows_, int(files_.size()),
                                 int(dialogs_.messages.size()));
    }

  private:
    struct Frame {
        int action, outer;
        std::size_t messages, files;
    };

    // Queues the next action at a random small delay: it lands during this one if this one
    // yields to the event loop.
    void Next() {
        static constexpr int kDelays[] = {0, 0, 0, 0, 0, 1, 2, 4, 8, 16};
        QTimer::singleShot(kDelays[Pick(10)], this, [this] {
            if (gesture_ || (left_ > 0 && !frames_.empty() && (!window_ || closed_))) {
                return Next();  // inside a drag, or closed and not yet returned
            }
            if (left_ == 0) {  // a run or a dialog may still be going on: end it, then stop
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    d->reject();
                else if (window_ && !closed_ && window_->isBusy())
                    Click(*window_, "stopButton");
                else if (frames_.empty())
                    return loop_.quit();
                return Next();
            }
            --left_;
            Next();
            busyActions_ += window_ && !closed_ && window_->isBusy();
            if (QWidget* modal = QApplication::activeModalWidget())
                return Do("dialog", modal);
            static const QStringList kNames =
                QString(
                    "stroke runButton stopButton editorButton resultButton drawFieldCheck "
                    "drawForceLinesCheck newProjectAction optionsAction openProjectAction "
                    "saveProjectAction coil pointer menu close key")
                    .split(' ');
            static constexpr int kWeights[] = {8, 4, 2, 2, 2, 1, 1, 1, 2, 2, 2, 2, 4, 4, 1, 2};
            Do(kNames[std::discrete_distribution<int>(std::begin(kWeights),
                                                      std::end(kWeights))(rng_)]);
        });
    }

    // One action with its checks.
    void Do(const QString& name, QWidget* modal = nullptr) {
        const Frame frame{++gLast, gNow, dialogs_.messages.size(), files_.size()};
        gNow = frame.action;
        frames_.push_back(frame);
        if (frame.action % 10000 == 0)  // how far a long run has got
            std::printf("monkey: %d actions\n", frame.action), std::fflush(stdout);
        Say(name);
        dialogs_.saveAnswers = {
            std::array{SaveChoice::Save, SaveChoice::Discard, SaveChoice::Cancel}[Pick(3)]};
        if (modal)
            InDialog(*modal);
        else
            Act(name);
        End(frame);
        frames_.pop_back();
        gNow = frame.outer;
    }
    void Act(const QString& name) {
        MainWindow& w = W();
        command_ = name;
        inDialog_ = false;
        const QByteArray id = name.toLatin1();
        // RUN as a user presses it: the next actions land while the calculation runs (waiting
        // for its end inside the action would nest one event loop in another, run after run).
        if (name == "runButton")
            return StartRun(w);
        if (name.endsWith("Button") || name.endsWith("Check"))
            return Click(w, id);
        if (name == "newProjectAction" || name == "openProjectAction" || name == "close") {
            return Dropping([&] { name == "close" ? (void)w.close() : Trigger(w, id); });
        }
        if (name.endsWith("Action"))
            return Trigger(w, id);
        if (name == "stroke")
            return Stroke();
        if (name == "pointer") {
            const QPoint at(Pick(430) - 15, Pick(430) - 15);
            const bool click = Pick(3) == 0;
            Say(QString::asprintf("pointer %s at %d,%d", click ? "click" : "move", at.x(), at.y()));
            gesture_ = true;
            if (click)
                QTest::mouseClick(&DrawingArea(w), Qt::LeftButton, {}, at);
            else
                HoverAt(w, at);
            gesture_ = false;
        } else if (name == "coil") {
            const QString coil = QString::number(1 + Pick(2)), value = QString::number(Pick(101));
            const QString text = Pick(QStringList{"1", "-2.5", "0", "1e6", "abc", "", "1e308",
                                                  "2,5", "1e-300", "-0", "nan", "inf"});
            if (Pick(2)) {
                Say("slider " + coil + " to " + value);
                Child<QSlider>(w, qPrintable("currentSlider" + coil)).setValue(value.toInt());
            } else {
                Say("current " + coil + " '" + text + "'");
                TypeInto(w, qPrintable("currentEdit" + coil), text);
            }
        } else if (name == "key") {
            static constexpr Qt::Key kKeys[] = {Qt::Key_Tab, Qt::Key_Space,    Qt::Key_Return,
                                                Qt::Key_Up,  Qt::Key_PageDown, Qt::Key_Escape};
            const Qt::Key key = kKeys[Pick(6)];
            QWidget* focus = QApplication::focusWidget();
            Say(QString::asprintf("key %x on %s", key,
                                  focus ? qPrintable(focus->objectName()) : "-"));
            QTest::keyClick(focus ? focus : &w, key);
        } else if (name == "menu") {
            QList<QAction*> enabled = w.menuBar()->findChildren<QAction*>();
            enabled.removeIf([&](QAction* a) {
                return a->menu() || a->isSeparator() || !a->isEnabled() ||
                       a->associatedObjects().isEmpty() || a->text().remove('&').contains(kExit);
            });
            QAction* a = Pick(enabled);
            dialogs_.printToPdf = Pick(QStringList{"", Path("other/r.pdf"), Path("no/r.pdf")});
            Say("menu " + a->objectName() + " '" + a->text() + "' pdf " + dialogs_.printToPdf);
            command_ = a->objectName();
            if (command_.contains(QRegularExpression("^(new|open|recent)")))
                return Dropping([&] { a->trigger(); });
            a->trigger();
        }
    }
    void Stroke() {
        MainWindow& w = W();
        const int material = Pick(7), tool = Pick(3), n = w.model().project.GridSize;
        const Qt::MouseButton button = Pick(QList{Qt::LeftButton, Qt::LeftButton, Qt::RightButton});
        std::vector<Node> path(1 + Pick(4));
        for (Node& node : path)
            node = {Pick(n + 5) - 2, Pick(n + 5) - 2};
        Say(QString::asprintf("stroke material %d tool %d button %d through %d nodes from %d,%d",
                              material, tool, int(button), int(path.size()), path[0].first,
                              path[0].second));
        ChooseMaterial(w, material);
        Click(w, std::array{"dotToolButton", "lineToolButton", "rectangleToolButton"}[tool]);
        const QImage before = DrawingArea(w).Surface().Snapshot();
        gesture_ = true;
        DragOnPicture(w, button, path);
        gesture_ = false;
        if (!w.resultOnShow() && DrawingArea(w).Surface().Snapshot() != before)
            painted_ = DrawingArea(w).Surface().Snapshot();
    }
    // New, Open or closing: the drawing as the last stroke left it, on show and not saved or
    // opened since, is not dropped without the question.
    void Dropping(const std::function<void()>& action) {
        const QImage before = DrawingArea(W()).Surface().Snapshot();
        const bool painted = !W().resultOnShow() && before == painted_;
        const std::size_t asked = dialogs_.saveQuestions.size();
        action();
        const bool dropped = closed_ || DrawingArea(W()).Surface().Snapshot() != before;
        Check(!painted || !dropped || dialogs_.saveQuestions.size() > asked,
              "a painted drawing is dropped without the question");
        if (dropped)
            painted_ = QImage();
    }

    // An action in a modal dialog: a text, a choice, a switch, a button, Escape.
    void InDialog(QWidget& d) {
        const auto edits = d.findChildren<QLineEdit*>();
        const auto combos = d.findChildren<QComboBox*>();
        const auto checks = d.findChildren<QCheckBox*>();
        QList<QPushButton*> buttons = d.findChildren<QPushButton*>();
        buttons.removeIf([](QPushButton* b) { return !b->isVisible() || !b->isEnabled(); });
        if (!inDialog_) {  // just opened: its texts, to put back after a refusal
            texts_.clear();
            for (QLineEdit* e : edits)
                texts_.emplace_back(e, e->text());
        }
        inDialog_ = true;
        const int what = Pick(14);
        if (what < 4 && !edits.isEmpty()) {
            QLineEdit* e = Pick(edits);
            const QString text =
                Pick(QStringList{"0.5", "1", "3", "10", "100", "0.9", "0.99", "1e-9", "1e9",
                                 "32767", "0.001", "7", "", "abc", "-1", "0", "1e400", "nan", ","});
            Say("dialog " + e->objectName() + " '" + text + "'");
            TypeInto(d, qPrintable(e->objectName()), text);
        } else if (what < 6) {
            Say("dialog texts as they were");
            for (const auto& [e, text] : texts_)
                if (e)
                    e->setText(text);
        } else if (what < 8 && !combos.isEmpty()) {
            QComboBox* c = Pick(combos);
            const int index = Pick(int(c->count()));
            if (c->itemText(index).split('x').first().toInt() <= grid_) {  // no finer grid
                Say("dialog " + c->objectName() + " " + c->itemText(index));
                c->setCurrentIndex(index);
            }
        } else if (what == 8 && !checks.isEmpty()) {
            QCheckBox* c = Pick(checks);
            Say("dialog " + c->objectName() + " toggled");
            c->toggle();
        } else if (what == 9 && d.findChild<QPlainTextEdit*>()) {
            Say("dialog comment");
            d.findChild<QPlainTextEdit*>()->setPlainText(QString(Pick(300), QChar(0x20ac)) +
                                                         "\n\r\t\u00e9\u00ff");
        } else if (what < 13 && !buttons.isEmpty()) {
            QPushButton* b = Pick(buttons);
            Say("dialog " + b->objectName() + " '" + b->text() + "'");
            b->click();
        } else {
            Say("dialog Escape");
            QTest::keyClick(&d, Qt::Key_Escape);
        }
    }

    // The checks after an action, when the window is not busy.
    void End(const Frame& frame) {
        if (!window_ || closed_ || window_->isBusy())
            return;
        const Model& m = window_->model();
        const int n = m.project.GridSize;
        if (window_->resultOnShow()) {
            Check(ArraysFitGrid(m.arrays, n) && m.field.B.N() == n,
                  "the result's arrays are those of its grid");
        } else if (m.arrays.Material.Exists()) {
            Check(ArraysFitGrid(m.arrays, m.arrays.Material.N()), "the arrays fit their grid");
        }
        // The title: "*name - Tesvid", the mark while changes are unsaved, "Untitled" for none.
        const QString title = window_->windowTitle();
        const QString named = title.chopped(9).remove(QRegularExpression("^\\*"));
        bool onDisk = named == "Untitled";
        for (const QString& p : opens_)
            onDisk = onDisk || (QFileInfo(p).fileName() == named &&
                                ReadProjectFile(p.toStdString()).project.has_value());
        Check(title.endsWith(" - Tesvid") && onDisk, "the title names a project file on disk");
        // A file saved or opened by this action alone (no other action ran inside it).
        const bool failed = dialogs_.messages.size() > frame.messages;
        // A save to a good name or an opened project keeps the drawing's changes no longer.
        for (auto f = files_.begin() + frame.files; f != files_.end(); ++f) {
            if (f->first == 's' ? opens_.mid(0, 4).contains(f->second)
                                : ReadProjectFile(f->second.toStdString()).project.has_value())
                painted_ = QImage();
        }
        if (files_.size() != frame.files + 1 || gLast != frame.action)
            return;
        const auto& [kind, path] = files_.back();
        const bool names = named == QFileInfo(path).fileName();
        if (kind == 's' && command_ == "saveProjectAction") {
            Check(failed != names, "a save names its file or says why not");
            const ProjectReadResult back = ReadProjectFile(path.toStdString());
            Check(failed || (back.project && SerializeProject(*back.project) ==
                                                 SerializeProject(ProjectFromModel(m))),
                  "a saved file reads back as the model");
        } else if (kind == 'o' && command_.startsWith("open")) {
            const bool good = ReadProjectFile(path.toStdString()).project.has_value();
            Check(good == names && good != failed,
                  "an open takes a good file and says why not for a bad one");
        }
    }
    void Check(bool ok, const char* what) {
        if (ok)
            return;
        std::fprintf(stderr, "monkey: FAILED: %s\n", what);
        PrintTrail();
        std::exit(1);
    }

    // The window, a new one after the last has closed.
    MainWindow& W() {
        if (!window_ || closed_) {
            window_.reset();
            window_ = std::make_unique<MainWindow>(services_.Services());
            connect(window_.get(), &MainWindow::closed, this, [this] { closed_ = true; });
            closed_ = false;
            painted_ = QImage();
            ++windows_;
            window_->show();
        }
        return *window_;
    }
    void Say(const QString& what) {
        std::snprintf(gTrail[gNow % 20], sizeof gTrail[0], "%d: %s", gNow.load(), qPrintable(what));
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <typename T>
    T Pick(const QList<T>& from) {
        return from[Pick(int(from.size()))];
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QStringList Paths(const QString& names) const {
        QStringList paths = names.split(' ');
        for (QString& p : paths)
            p = Path(p);
        return paths;
    }
    void Write(const char* name, const QByteArray& bytes) const {
        QFile file(Path(name));
        (void)(file.open(QIODevice::WriteOnly) && file.write(bytes));
    }

    const QRegularExpression kExit{"exit|quit", QRegularExpression::CaseInsensitiveOption};
    std::mt19937_64 rng_;
    int grid_;
    QTemporaryDir dir_;
    QStringList opens_, saves_;
    TestServices services_;
    FakeDialogs& dialogs_ = services_.dialogs;
    std::vector<std::pair<char, QString>> files_;  // the project files answered
    std::unique_ptr<MainWindow> window_;
    QString command_;  // the button or menu command of the latest action
    QImage painted_;   // the drawing as the last stroke left it, until saved, opened or dropped
    bool closed_ = false, gesture_ = false, inDialog_ = false;
    std::vector<std::pair<QPointer<QLineEdit>, QString>> texts_;
    int left_ = 0, windows_ = 0, busyActions_ = 0;
    std::vector<Frame> frames_;
    QEventLoop loop_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the monkey opens the next window
    const QStringList args = app.arguments();
    auto option = [&](const char* name, int fallback) {
        const auto k = args.indexOf(name);
        return k > 0 && k + 1 < args.size() ? args[k + 1].toLongLong() : fallback;
    };
    const int actions = int(option("--actions", 0)), grid = int(option("--grid", 50));
    gSeed = option("--seed", 0);
    if (!IsSupportedGridSize(grid) || actions < 0 || args.size() % 2 == 0) {
        std::fprintf(stderr,
                     "usage: monkey_test [--actions N] [--seed S] [--grid 50|100|200|400]\n");
        return 2;
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    __sanitizer_set_death_callback(PrintTrail);
#else
    // On a stack of its own, so that the trail is printed after a stack overflow too.
    static char handlerStack[1 << 16];
    const stack_t stack{handlerStack, 0, sizeof handlerStack};
    sigaltstack(&stack, nullptr);
    struct sigaction crash = {};
    crash.sa_handler = [](int n) { PrintTrail(), std::signal(n, SIG_DFL), std::raise(n); };
    crash.sa_flags = SA_ONSTACK;
    for (int s : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS})
        sigaction(s, &crash, nullptr);
#endif
    std::printf("monkey: seed %llu, %d actions, grid %d\n", gSeed, actions, grid);
    std::fflush(stdout);
    Monkey monkey(gSeed, grid);
    if (actions == 0) {
        // Fixed sequences, each action's details drawn from the seed: a drawing calculated, its
        // result's views, probe and coils, then saved, opened over, renewed and closed.
        for (int k = 0; k < 4; ++k)
            monkey.Replay(QString("stroke runButton drawForceLinesCheck pointer coil runButton "
                                  "resultButton pointer stroke editorButton stroke "
                                  "saveProjectAction stroke openProjectAction stroke "
                                  "newProjectAction stroke close")
                              .split(' '));
    } else if (!monkey.Run(actions)) {
        return 1;
    }
    std::printf("monkey: %d actions done: %s\n", gLast.load(), qPrintable(monkey.Summary()));
    return 0;
}
