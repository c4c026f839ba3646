// Filling a report list the way every page fills it (insert at row 0, then
// each further cell of row 0), shown offscreen and timed to idle, turn about
// in one process with a plain Qt program filled the way a Qt developer fills
// a list read all at once: the yardstick (`qt`) sets all rows in one go into
// a table model of its own on the shown view (one model reset); beside it,
// not a yardstick, a QStandardItemModel filled item by item off the view and
// then set on it (`qtstd`). The texts are converted from UTF-8 inside the
// timing. Also the memory each keeps per cell, measured in a fresh process of
// its own.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QStandardItemModel>
#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/common/Args.h"
#include "bench/common/Rivals.h"
#include "commctrl/Controls.h"
#include "commctrl/ListView.h"
#include "core/core.h"
#include "platform/gbk/gbk.h"
#include "win32.h"

namespace {

constexpr int kColumns = 8;

// Short Chinese texts, as the pages show them (names, companies, dates).
const char* const kWords[] = {"张伟", "北京塔维尔", "经理", "010-6288", "重要", "华北区", "2024-3-5", "合作伙伴"};

struct Data {
    std::vector<std::string> gbk;   // rows * columns, GBK
    std::vector<std::string> utf8;  // the same texts in UTF-8
};

const Data& MakeData(int rows) {
    static std::map<int, Data> cache;
    Data& d = cache[rows];
    if (!d.gbk.empty()) return d;
    d.gbk.reserve(static_cast<size_t>(rows) * kColumns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            std::string u = std::string(kWords[c]) + std::to_string(r % 1000);
            d.utf8.push_back(u);
            d.gbk.push_back(gbk::FromUtf8(u));
        }
    return d;
}

double FreshBytesPerCell(const char* what, int rows);

long StatusKb(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(key);
    while (std::getline(f, line))
        if (line.compare(0, n, key) == 0) return std::stol(line.substr(n));
    return 0;
}
long RssKb() { return StatusKb("VmRSS:"); }

// Answers custom draw as every page does: alternating row backgrounds.
LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == NM_CUSTOMDRAW) {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) cd->clrTextBk = (cd->nmcd.dwItemSpec % 2) ? 0xFFE7CE : 0xFFFFFF;
        return CDRF_DODEFAULT;
    }
    return DefWindowProcA(h, m, wp, lp);
}

HWND MakeParent() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x400000));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "BenchParent";
        RegisterClassA(&wc);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        registered = true;
    }
    return CreateWindowExA(0, "BenchParent", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1024, 700, nullptr,
                           nullptr, nullptr, nullptr);
}

void Show() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// A record list as the list pages make it: report style, 0x61, eight columns.
HWND MakePageList(HWND parent) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS,
                                167, 40, 850, 573, parent, reinterpret_cast<HMENU>(10803), nullptr, nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x61);
    LVCOLUMNA col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    col.cx = 100;
    col.pszText = const_cast<char*>("col");
    for (int c = 0; c < kColumns; ++c) SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    return list;
}

// Each record inserted at row 0 with its first cell, then every further cell set on row 0.
void FillAtRowZero(HWND list, const Data& data, int rows) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    for (int r = 0; r < rows; ++r) {
        const std::string* rec = &data.gbk[static_cast<size_t>(r) * kColumns];
        item.iItem = 0;
        item.iSubItem = 0;
        item.pszText = const_cast<char*>(rec[0].c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < kColumns; ++c) {
            item.iSubItem = c;
            item.pszText = const_cast<char*>(rec[c].c_str());
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
}

// One page-like list of `rows` rows, shown; scrolled and repainted a page at a time.
void BM_ListViewScrollAndPaint(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const Data& data = MakeData(rows);
    HWND parent = MakeParent();
    HWND list = MakePageList(parent);
    FillAtRowZero(list, data, rows);
    Show();
    auto* ctl = w32::cc::ControlOf<w32::cc::ListViewCtl>(list);
    QScrollBar* bar = ctl->Tree()->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        // Jump around the list as a dragged thumb does, then paint the page.
        step = (step + 7919) % std::max(1, bar->maximum());
        bar->setValue(step);
        ctl->Tree()->viewport()->repaint();
    }
    DestroyWindow(parent);
    Show();
    state.counters["rows"] = rows;
}

// A table model of its own, as a Qt developer writes one for a list read
// all at once: the rows set in one go, one model reset.
class PlainModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : static_cast<int>(rows_.size()); }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : kColumns; }
    QVariant data(const QModelIndex& i, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return rows_[static_cast<size_t>(i.row())][static_cast<size_t>(i.column())];
    }
    void SetRows(const Data& data, int rows) {
        beginResetModel();
        rows_.assign(static_cast<size_t>(rows), std::vector<QString>(kColumns));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kColumns; ++c)
                rows_[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                    QString::fromStdString(data.utf8[static_cast<size_t>(r) * kColumns + static_cast<size_t>(c)]);
        endResetModel();
    }

private:
    std::vector<std::vector<QString>> rows_;
};

// A QStandardItemModel filled off the view, then set on it.
QStandardItemModel* StandardModel(const Data& data, int rows) {
    auto* model = new QStandardItemModel(rows, kColumns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kColumns; ++c)
            model->setItem(r, c,
                           new QStandardItem(QString::fromStdString(
                               data.utf8[static_cast<size_t>(r) * kColumns + static_cast<size_t>(c)])));
    return model;
}

QTableView* ShownView() {
    auto* view = new QTableView;
    view->resize(850, 573);
    view->show();
    return view;
}

// Runs this program again to fill one list (`what` is "list" or "model") in a
// fresh process; returns the resident memory it grew by per cell.
double FreshBytesPerCell(const char* what, int rows) {
    char cmd[256];
    snprintf(cmd, sizeof cmd, "/proc/%d/exe --fresh-fill=%s:%d", static_cast<int>(getpid()), what, rows);
    FILE* p = popen(cmd, "r");
    if (!p) return -1;
    double v = -1;
    if (fscanf(p, "%lf", &v) != 1) v = -1;
    pclose(p);
    return v;
}

// The child's side of FreshBytesPerCell.
int FreshFill(const std::string& arg) {
    const size_t colon = arg.find(':');
    const std::string what = arg.substr(0, colon);
    const int rows = std::stoi(arg.substr(colon + 1));
    const Data& data = MakeData(rows);
    long before = 0, after = 0;
    if (what == "list") {
        HWND parent = MakeParent();
        HWND list = MakePageList(parent);
        Show();
        before = RssKb();
        FillAtRowZero(list, data, rows);
        Show();
        after = RssKb();
    } else {
        QTableView* view = ShownView();
        auto* model = new PlainModel;
        view->setModel(model);
        Show();
        before = RssKb();
        model->SetRows(data, rows);
        Show();
        after = RssKb();
    }
    printf("%f\n", static_cast<double>(after - before) * 1024.0 / (static_cast<double>(rows) * kColumns));
    return 0;
}

// The list view filled as the pages fill it, turn about with the Qt
// program's two ways; each starts on a fresh shown window (made untimed).
// x_qt is the ratio that counts.
void BM_ListFill(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const Data& data = MakeData(rows);
    size_t bytes = 0, textBytes = 0;
    for (const std::string& s : data.gbk) textBytes += s.size();
    HWND parent = nullptr, list = nullptr;
    QTableView* view = nullptr;
    QAbstractItemModel* model = nullptr;
    const auto clear = [&] {
        if (parent) DestroyWindow(parent);
        delete view;
        delete model;
        parent = list = nullptr;
        view = nullptr;
        model = nullptr;
        Show();
    };
    const auto listPrepare = [&] {
        clear();
        parent = MakeParent();
        list = MakePageList(parent);
        Show();
    };
    const auto listRun = [&] {
        FillAtRowZero(list, data, rows);
        Show();
        if (auto* ctl = w32::cc::ControlOf<w32::cc::ListViewCtl>(list)) bytes = ctl->Store().HeapBytes();
        return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rows;
    };
    const auto tableModelPrepare = [&] {
        clear();
        view = ShownView();
        model = new PlainModel;
        view->setModel(model);
        Show();
    };
    const auto tableModelRun = [&] {
        static_cast<PlainModel*>(model)->SetRows(data, rows);
        Show();
        return model->rowCount() == rows;
    };
    const auto standardPrepare = [&] {
        clear();
        view = ShownView();
        Show();
    };
    const auto standardRun = [&] {
        model = StandardModel(data, rows);
        view->setModel(model);
        Show();
        return model->rowCount() == rows;
    };
    bench::RunRivals(state,
                     {{"list", listRun, listPrepare},
                      {"qt", tableModelRun, tableModelPrepare},
                      {"qtstd", standardRun, standardPrepare}},
                     "yardstick in this process, turn about: qt = QTableView over a table model of its own set in one "
                     "go, the same texts; qtstd (a QStandardItemModel filled item by item, then set) is shown "
                     "beside it, not a yardstick");
    clear();
    const double cells = static_cast<double>(rows) * kColumns;
    state.counters["ns_per_row"] = benchmark::Counter(
        static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["store_bytes_per_cell"] = static_cast<double>(bytes) / cells;
    state.counters["text_bytes_per_cell"] = static_cast<double>(textBytes) / cells;
    state.counters["fresh_rss_bytes_per_cell"] = FreshBytesPerCell("list", rows);
    state.counters["qt_fresh_rss_bytes_per_cell"] = FreshBytesPerCell("model", rows);
}

BENCHMARK(BM_ListViewScrollAndPaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The fills from 1,000 to 100,000 rows (1,000,000 with --million).
void RegisterFills(const std::vector<int>& sizes) {
    auto* b = benchmark::RegisterBenchmark("BM_ListFill", BM_ListFill);
    for (int n : sizes) b->Arg(n);
    b->ArgName("rows")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = bench::SeriesSizes(argc, argv);
    const std::string kFresh = "--fresh-fill=";
    const bool fresh = argc > 1 && std::string(argv[1]).compare(0, kFresh.size(), kFresh) == 0;
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    w32::InitLayer();
    if (fresh) {
        const int rc = FreshFill(std::string(argv[1]).substr(kFresh.size()));
        w32::ShutdownLayer();
        return rc;
    }
    RegisterFills(sizes);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    w32::ShutdownLayer();
    return 0;
}
