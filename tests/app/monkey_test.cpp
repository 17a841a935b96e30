// The monkey: a seeded random user drives the main window (strokes with every tool and
// material, RUN, Stop, the views, New, the check boxes, sliders and current boxes, any enabled
// menu command, the dialogs it opens, files good and bad, closing and a new window), each
// action queued at a random small delay so that many land while a calculation or a drawing
// runs. After every action the window must still hold together; a failure prints the seed, the
// action's index and the last 20 actions.
//   monkey_test                                  the regression sequences only
//   monkey_test --actions N --seed S --grid G    a random run (grid 50, 100, 200 or 400)

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <deque>
#include <functional>
#include <random>

#include "app/support/window_driver.h"
#include "io/project_file.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// The seed, the latest action begun, the innermost one running and the last actions, kept
// where a crash handler can print them.
char gTrail[20][160];
unsigned long long gSeed = 0;
int gLast = 0, gCurrent = 0;

void PrintTrail(int failing) {
    std::fprintf(stderr, "monkey: seed %llu, failed at action %d; the last actions:\n", gSeed,
                 failing);
    for (int k = std::max(1, gLast - 19); k <= gLast; ++k) {
        std::fprintf(stderr, "  %s\n", gTrail[k % 20]);
    }
}
void PrintTrailNow() {
    PrintTrail(gCurrent);
}

// File dialogs answered by the monkey: a project dialog from the pools of files to open and
// names to save under, any other from a folder of its own with the dialog's first extension.
// Records which action got which project answer ('o'pen, 's'ave) and which showed a 'm'essage.
class MonkeyDialogs : public FakeDialogs {
  public:
    struct Record {
        int action;
        char kind;
        QString path;
    };
    std::function<QString(bool save, const QString& filter)> answer;
    std::vector<Record> records;
    int action = -1;  // the innermost action running

    void Message(QWidget* owner, const QString& title, const QString& text, MessageIcon icon,
                 bool systemModal) override {
        FakeDialogs::Message(owner, title, text, icon, systemModal);
        records.push_back({action, 'm', text});
        if (qEnvironmentVariableIsSet("MONKEY_TRACE")) std::fprintf(stderr, "   MESSAGE %s\n", qPrintable(text));
    }
    std::optional<QString> OpenFileName(QWidget*, const QString&, const QString& filter,
                                        const QString&) override {
        return Answer(false, filter);
    }
    std::optional<QString> SaveFileName(QWidget*, const QString&, const QString& filter,
                                        const QString&) override {
        return Answer(true, filter);
    }

  private:
    std::optional<QString> Answer(bool save, const QString& filter) {
        const QString path = answer(save, filter);
        if (path == "cancel") return std::nullopt;
        if (filter.contains("*.tvd") && !path.isEmpty()) {
            records.push_back({action, save ? 's' : 'o', path});
        }
        return path;
    }
};

class Monkey : public QObject {
  public:
    Monkey(unsigned long long seed, int grid) : rng_(seed), grid_(grid) {
        QDir(dir_.path()).mkpath("other");
        const QString samples = QStringLiteral(TESVID_SOURCE_DIR "/samples/");
        QFile cut(Path("cut.tvd")), sample(samples + "opposing_coils.tvd");
        (void)(cut.open(QIODevice::WriteOnly) && sample.open(QIODevice::ReadOnly) &&
               cut.write(sample.read(3000)));
        (void)QFile(Path("empty.tvd")).open(QIODevice::WriteOnly);
        QFile garbage(Path("garbage"));
        (void)(garbage.open(QIODevice::WriteOnly) && garbage.write("TVD2.1\x32\0junk", 12));
        openPool_ = {Path("p0.tvd"),  Path("p1.tvd"), Path("p2.tvd"),      Path("cut.tvd"),
                     Path("empty.tvd"), Path("garbage"), Path("missing.tvd"), dir_.path(),
                     "",               "cancel",     samples + "opposing_coils.tvd"};
        if (grid >= 100) openPool_ << samples + "air_core_solenoid.tvd";
        if (grid >= 200) openPool_ << samples + "magnet_yoke_gap.tvd";
        savePool_ = {Path("p0.tvd"), Path("p1.tvd"), Path("p2.tvd"), Path("no/such/x.tvd"),
                     Path("garbage/x.tvd"), dir_.path(), "", "cancel"};
        dialogs_.answer = [this](bool save, const QString& filter) {
            if (!filter.contains("*.tvd")) {
                const auto ext = QRegularExpression("\\*\\.(\\w+)").match(filter).captured(1);
                return Pick(QStringList{Path("other/x." + ext), "cancel", Path("no/such/y")});
            }
            return Pick(save ? savePool_ : openPool_);
        };
        const auto index = std::find(std::begin(kGridSizes), std::end(kGridSizes), grid) -
                           std::begin(kGridSizes);
        services_.WriteSettingsFile("[Grid]\nComboGrid=" + QByteArray::number(index) +
                                    "\n[Misc]\nTextMainSteps=4\n");
    }

    // Runs n actions, or replays a list of them one by one, each after the previous has ended.
    void Run(int n) {
        left_ = n;
        Next();
        loop_.exec();
    }
    void Replay(const std::vector<std::function<void(Monkey&)>>& steps) {
        for (const auto& step : steps) {
            const Frame frame = Begin();
            step(*this);
            End(frame);
        }
    }

    MainWindow& W() {
        if (!window_ || closed_) {
            window_.reset();
            window_ = std::make_unique<MainWindow>(PlatformServices{
                dialogs_, services_.clipboard, services_.help, services_.settings});
            connect(window_.get(), &MainWindow::closed, this, [this] { closed_ = true; });
            closed_ = false;
            ++windows_;
            window_->show();
        }
        return *window_;
    }
    QString Summary() const {
        const auto& r = dialogs_.records;
        auto kinds = [&](char kind) { return std::count_if(r.begin(), r.end(), [&](const auto& x) { return x.kind == kind; }); };
        return QString("%1 during a calculation or drawing, %2 windows, %3 opens, %4 saves, %5 messages")
            .arg(duringWork_).arg(windows_).arg(kinds('o')).arg(kinds('s')).arg(kinds('m'));
    }
    void Say(const QString& what) {
        if (qEnvironmentVariableIsSet("MONKEY_TRACE")) std::fprintf(stderr, "%d: %s\n", dialogs_.action, qPrintable(what));
        std::snprintf(gTrail[dialogs_.action % 20], sizeof gTrail[0], "%d: %s", dialogs_.action,
                      qPrintable(what));
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <typename T>
    T Pick(const QList<T>& from) {
        return from[Pick(int(from.size()))];
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    // The actions, each a weight and what it does.
    void Stroke() {
        const int material = Pick(7), tool = Pick(3), n = W().model().project.GridSize;
        const Qt::MouseButton button = Pick(QList{Qt::LeftButton, Qt::LeftButton, Qt::RightButton});
        std::vector<Node> path(1 + Pick(4));
        for (Node& node : path) node = {Pick(n + 5) - 2, Pick(n + 5) - 2};
        Say(QString("stroke material %1 tool %2 button %3 from %4,%5 through %6 nodes")
                .arg(material).arg(tool).arg(int(button)).arg(path[0].first)
                .arg(path[0].second).arg(path.size()));
        ChooseMaterial(W(), material);
        Click(W(), std::array{"dotToolButton", "lineToolButton", "rectangleToolButton"}[tool]);
        gesture_ = true;
        DragOnPicture(W(), button, path);
        gesture_ = false;
    }
    void Button(const char* name) {
        Say(name);
        Click(W(), name);
    }
    void Pointer() {
        const QPoint at(Pick(430) - 15, Pick(430) - 15);
        const bool click = Pick(3) == 0;
        Say(QString("pointer %1 at %2,%3").arg(click ? "click" : "move").arg(at.x()).arg(at.y()));
        gesture_ = true;
        if (click) QTest::mouseClick(&DrawingArea(W()), Qt::LeftButton, {}, at);
        else HoverAt(W(), at);
        gesture_ = false;
    }
    void Coil() {
        const int coil = 1 + Pick(2);
        if (Pick(2) == 0) {
            const int value = Pick(101);
            Say(QString("slider %1 to %2").arg(coil).arg(value));
            Child<QSlider>(W(), qPrintable(QString("currentSlider%1").arg(coil))).setValue(value);
        } else {
            const QString text = Pick(QStringList{"1", "-2.5", "0", "1e6", "abc", "", "1e308",
                                                  "2,5", "1e-300", "-0", "nan", "inf"});
            Say(QString("current %1 typed '%2'").arg(coil).arg(text));
            TypeInto(W(), qPrintable(QString("currentEdit%1").arg(coil)), text);
        }
    }
    void Menu() {
        QList<QAction*> enabled;
        std::function<void(QList<QAction*>)> collect = [&](QList<QAction*> actions) {
            for (QAction* a : actions) {
                if (a->menu()) collect(a->menu()->actions());
                else if (a->isEnabled() && !a->isSeparator() &&
                         !a->text().contains(QRegularExpression("exit|quit", QRegularExpression::CaseInsensitiveOption)))
                    enabled << a;
            }
        };
        collect(W().menuBar()->actions());
        QAction* a = Pick(enabled);
        dialogs_.printToPdf = Pick(QStringList{"", Path("other/r.pdf"), Path("no/r.pdf")});
        Say("menu " + a->objectName() + " '" + a->text() + "' pdf " + dialogs_.printToPdf);
        a->trigger();
    }
    void ByName(const char* action) {
        Say(action);
        Trigger(W(), action);
    }
    // An action in a modal dialog: a text, a choice, a switch, a button, Escape.
    void InDialog(QWidget& d) {
        const auto edits = d.findChildren<QLineEdit*>();
        const auto combos = d.findChildren<QComboBox*>();
        const auto checks = d.findChildren<QCheckBox*>();
        QList<QPushButton*> buttons = d.findChildren<QPushButton*>();
        buttons.removeIf([](QPushButton* b) { return !b->isVisible() || !b->isEnabled(); });
        const int what = Pick(10);
        if (what < 5 && !edits.isEmpty()) {
            QLineEdit* e = Pick(edits);
            const QString text = Pick(QStringList{"0.5", "1", "3", "10", "100", "0.9", "0.99",
                                                  "", "abc", "-1", "0", "1e400", "nan", "2", ","});
            Say("dialog " + e->objectName() + " typed '" + text + "'");
            TypeInto(d, qPrintable(e->objectName()), text);
        } else if (what == 5 && !combos.isEmpty()) {
            QComboBox* c = Pick(combos);
            const int index = Pick(int(c->count()));
            Say("dialog " + c->objectName() + " item " + c->itemText(index));
            if (c->itemText(index).split('x').first().toInt() <= grid_) c->setCurrentIndex(index);
        } else if (what == 6 && !checks.isEmpty()) {
            QCheckBox* c = Pick(checks);
            Say("dialog " + c->objectName() + " toggled");
            c->toggle();
        } else if (what < 9 && !buttons.isEmpty()) {
            QPushButton* b = Pick(buttons);
            Say("dialog button " + b->objectName() + " '" + b->text() + "'");
            b->click();
        } else {
            Say("dialog Escape");
            QTest::keyClick(&d, Qt::Key_Escape);
        }
    }

    // The checks after every action, while the window is not busy.
    struct Frame {
        int action, outer;
        std::size_t records;
    };
    void Check(bool ok, const char* what) {
        if (ok) return;
        std::fprintf(stderr, "monkey: FAILED: %s\n", what);
        PrintTrail(frames_.empty() ? dialogs_.action : frames_.back().action);
        std::exit(1);
    }
    Frame Begin() {
        Frame frame{++count_, dialogs_.action, dialogs_.records.size()};
        dialogs_.action = gCurrent = gLast = frame.action;
        frames_.push_back(frame);
        return frame;
    }
    void End(const Frame& frame) {
        dialogs_.action = gCurrent = frame.outer;
        frames_.pop_back();
        if (!window_ || closed_ || window_->isBusy()) return;
        const Model& m = window_->model();
        const int n = m.project.GridSize;
        if (window_->resultOnShow()) {
            Check(ArraysFitGrid(m.arrays, n) && m.field.B.N() == n,
                  "the result's arrays are those of its grid");
        } else if (m.arrays.Material.Exists()) {
            Check(ArraysFitGrid(m.arrays, m.arrays.Material.N()), "the arrays fit their grid");
        }
        const QString title = window_->windowTitle();
        Check(title == "Tesvid" || (title.startsWith("Tesvid - ") &&
                                    ReadProjectFile(title.mid(9).toStdString()).project),
              "the title names a project file on disk");
        // A save or open of this action alone (no other action ran inside it).
        const auto& r = dialogs_.records;
        if (r.size() == frame.records || r.back().action != frame.action ||
            std::any_of(r.begin() + frame.records, r.end(),
                        [&](const auto& x) { return x.action != frame.action; })) {
            return;
        }
        const auto& file = r[frame.records];
        const bool failed = r.back().kind == 'm', named = title == "Tesvid - " + file.path;
        if (file.kind == 's') {
            Check(failed != named, "a save names its file or says why not");
            const ProjectReadResult back = ReadProjectFile(file.path.toStdString());
            Check(failed || (back.project && SerializeProject(*back.project) ==
                                                 SerializeProject(ProjectFromModel(m))),
                  "a saved file reads back as the model");
        } else if (file.kind == 'o') {
            const bool good = ReadProjectFile(file.path.toStdString()).project.has_value();
            Check(good == named && good != failed,
                  "an open takes a good file and says why not for a bad one");
        }
    }

  private:
    // Queues the next action after a random small delay; it lands during this one if this
    // one yields to the event loop.
    void Next() {
        static constexpr int kDelays[] = {0, 0, 0, 0, 0, 1, 2, 4, 8, 16};
        QTimer::singleShot(kDelays[Pick(10)], this, [this] {
            if (gesture_ || (left_ > 0 && !frames_.empty() && (!window_ || closed_))) {
                return Next();  // inside a drag, or closing and not yet returned
            }
            if (left_ == 0) {
                // The last action is inside a run or a dialog: end them, then stop.
                if (frames_.empty()) return loop_.quit();
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
                else if (window_ && !closed_) Click(*window_, "stopButton");
                return Next();
            }
            --left_;
            Next();
            const Frame frame = Begin();
            duringWork_ += window_ && !closed_ && window_->isBusy();
            Act();
            End(frame);
            if (left_ == 0 && frames_.empty()) loop_.quit();
        });
    }
    void Act() {
        if (QWidget* modal = QApplication::activeModalWidget()) return InDialog(*modal);
        MainWindow& w = W();
        static constexpr int kWeights[] = {8, 4, 2, 2, 2, 1, 1, 2, 2, 2, 2, 4, 4, 1};
        std::discrete_distribution<int> which(std::begin(kWeights), std::end(kWeights));
        switch (which(rng_)) {
            case 0: return Stroke();
            case 1: return Button("runButton");
            case 2: return Button("stopButton");
            case 3: return Button("editorButton");
            case 4: return Button("resultButton");
            case 5: return ByName("newProjectAction");
            case 6: return Button(Pick(2) ? "drawFieldCheck" : "drawForceLinesCheck");
            case 7: return Coil();
            case 8: return ByName("optionsAction");
            case 9: return ByName("openProjectAction");
            case 10: return ByName("saveProjectAction");
            case 11: return Pointer();
            case 12: return Menu();
            default: Say("close the window"); w.close();
        }
    }

    std::mt19937_64 rng_;
    int grid_;
    QTemporaryDir dir_;
    QStringList openPool_, savePool_;
    TestServices services_;
    MonkeyDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
    bool closed_ = false, gesture_ = false;
    int left_ = 0, count_ = 0, windows_ = 0;

  public:
    int duringWork_ = 0;
    std::vector<Frame> frames_;
    QEventLoop loop_;
};

void OnCrash(int signal) {
    PrintTrailNow();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int actions = 0, grid = 50;
    for (int k = 1; k + 1 < argc; k += 2) {
        const QByteArray option = argv[k], value = argv[k + 1];
        if (option == "--actions") actions = value.toInt();
        else if (option == "--seed") gSeed = value.toULongLong();
        else if (option == "--grid") grid = value.toInt();
    }
    if (!IsSupportedGridSize(grid) || actions < 0) {
        std::fprintf(stderr, "usage: monkey_test [--actions N --seed S --grid 50|100|200|400]\n");
        return 2;
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    __sanitizer_set_death_callback(PrintTrailNow);
#else
    for (int s : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS}) std::signal(s, OnCrash);
#endif
    if (actions == 0) {
        std::printf("monkey: regression sequences\n");
        return 0;
    }
    std::printf("monkey: seed %llu, %d actions, grid %d\n", gSeed, actions, grid);
    std::fflush(stdout);
    Monkey monkey(gSeed, grid);
    monkey.Run(actions);
    std::printf("monkey: %d actions done: %s\n", actions, qPrintable(monkey.Summary()));
    return 0;
}
