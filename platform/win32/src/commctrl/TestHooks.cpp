#include <QApplication>
#include <QCalendarWidget>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <string>

#include "commctrl/Controls.h"
#include "commctrl/DateTimePicker.h"
#include "commctrl/Glue.h"
#include "commctrl/ListView.h"
#include "commctrl/TabControl.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace w32::cc;

namespace w32test {
namespace {

POINT P(QPoint p) { return POINT{p.x(), p.y()}; }

void SendKey(QWidget* target, int key) {
    if (!target) return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    ProcessEvents();
}

// The calendar's date grid, which takes the keys of the open drop-down.
QWidget* CalendarGrid(DtpCtl* ctl) {
    QCalendarWidget* cal = ctl->Edit()->calendarWidget();
    QTableView* grid = cal->findChild<QTableView*>();
    return grid ? static_cast<QWidget*>(grid) : cal;
}

QLineEdit* ListEditor(ListViewCtl* ctl) {
    if (!ctl || !ctl->Tree()->Editing()) return nullptr;
    for (QLineEdit* e : ctl->Tree()->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}

}  // namespace

POINT ListCellPoint(HWND list, int row, int column) {
    ListViewCtl* ctl = ControlOf<ListViewCtl>(list);
    if (!ctl) return POINT{-1, -1};
    ctl->Flush();
    ListTree* tree = ctl->Tree();
    QAbstractItemModel* m = tree->model();
    if (row < 0 || row >= m->rowCount() || column < 0 || column >= m->columnCount()) return POINT{-1, -1};
    tree->scrollTo(m->index(row, column));
    ProcessEvents();
    const QRect r = tree->visualRect(m->index(row, column));
    return P(tree->viewport()->mapTo(tree, r.center()));
}

POINT ListBlankPoint(HWND list) {
    ListViewCtl* ctl = ControlOf<ListViewCtl>(list);
    if (!ctl) return POINT{-1, -1};
    ctl->Flush();
    ListTree* tree = ctl->Tree();
    QAbstractItemModel* m = tree->model();
    int y = tree->viewport()->height() - 3;
    if (m->rowCount() > 0) {
        const QRect last = tree->RowRect(m->rowCount() - 1);
        if (last.bottom() + 4 < tree->viewport()->height()) y = last.bottom() + 4;
    }
    return P(tree->viewport()->mapTo(tree, QPoint(5, y)));
}

void ClickListRow(HWND list, int row, int column) {
    const POINT p = ListCellPoint(list, row, column);
    if (p.x >= 0) Click(list, p.x, p.y);
}

void DoubleClickListRow(HWND list, int row, int column) {
    const POINT p = ListCellPoint(list, row, column);
    if (p.x >= 0) DoubleClick(list, p.x, p.y);
}

void ClickListStateImage(HWND list, int row) {
    ListViewCtl* ctl = ControlOf<ListViewCtl>(list);
    if (!ctl) return;
    ListCellPoint(list, row, 0);  // flush and scroll into view
    const QRect r = ctl->Tree()->StateIconRect(row);
    if (r.isEmpty()) return;
    const QPoint p = ctl->Tree()->viewport()->mapTo(ctl->Tree(), r.center());
    Click(list, p.x(), p.y());
}

void ClickListHeader(HWND list, int column) {
    ListViewCtl* ctl = ControlOf<ListViewCtl>(list);
    if (!ctl) return;
    ctl->Flush();
    QHeaderView* h = ctl->Tree()->header();
    if (column < 0 || column >= h->count()) return;
    const QPoint inHeader(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
    const QPoint p = h->viewport()->mapTo(ctl->Tree(), inHeader);
    Click(list, p.x(), p.y());
}

bool ListEditorText(HWND list, std::string* gbkText) {
    QLineEdit* e = ListEditor(ControlOf<ListViewCtl>(list));
    if (!e) return false;
    if (gbkText) *gbkText = w32::FromQt(e->text());
    return true;
}

void FinishListEdit(HWND list, const std::string& gbkText, bool accept) {
    QLineEdit* e = ListEditor(ControlOf<ListViewCtl>(list));
    if (!e) return;
    e->setText(w32::ToQt(gbkText));
    SendKey(e, accept ? Qt::Key_Return : Qt::Key_Escape);
}

int ListShownRows(HWND list) {
    ListViewCtl* ctl = ControlOf<ListViewCtl>(list);
    if (!ctl) return -1;
    ctl->Flush();
    return ctl->Tree()->model()->rowCount();
}

RECT ListHorzBar(HWND list, SCROLLINFO* si) {
    ListViewCtl* ctl = ControlOf<ListViewCtl>(list);
    if (!ctl) return RECT{};
    ctl->Flush();
    ProcessEvents();
    const QScrollBar* bar = ctl->Tree()->horizontalScrollBar();
    if (si) {
        si->nMin = 0;
        si->nPage = static_cast<UINT>(bar->pageStep());
        si->nMax = ctl->Tree()->header()->length() - 1;
        si->nPos = bar->value();
    }
    if (!bar->isVisible()) return RECT{};
    const QRect r(bar->mapTo(ctl->Tree(), QPoint(0, 0)), bar->size());
    return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void ClickTab(HWND tab, int index) {
    TabCtl* ctl = ControlOf<TabCtl>(tab);
    if (!ctl) return;
    QTabBar* bar = ctl->Tabs()->Bar();
    if (index < 0 || index >= bar->count()) return;
    const QPoint p = bar->mapTo(ctl->Tabs(), bar->tabRect(index).center());
    Click(tab, p.x(), p.y());
}

std::string PickerText(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    if (!ctl) return {};
    return w32::FromQt(ctl->Edit()->text());
}

namespace {
QLineEdit* PickerLine(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    return ctl ? ctl->Line() : nullptr;
}

// The x of the left edge of character i in the line edit's coordinates,
// from where the caret shows now (the line edit scrolls with its caret).
// The caret's rectangle reaches five pixels to the left of the caret, and
// its width follows the caret's, which the line sets when it first paints.
int CharX(QLineEdit* l, int i) {
    const QFontMetrics fm(l->font());
    const QString t = l->text();
    const int caretX = l->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() + 5;
    return caretX - fm.horizontalAdvance(t.left(l->cursorPosition())) + fm.horizontalAdvance(t.left(i));
}
}  // namespace

POINT PickerFieldPoint(HWND picker, int field) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    QLineEdit* l = ctl ? ctl->Line() : nullptr;
    if (!l) return POINT{};
    const std::vector<DtpCtl::Field> fields = ctl->Fields();
    if (field < 0 || field >= int(fields.size())) return POINT{};
    const DtpCtl::Field& f = fields[size_t(field)];
    const int x = (CharX(l, f.start) + CharX(l, f.start + f.length)) / 2;
    return P(l->mapTo(ctl->Edit(), QPoint(x, l->height() / 2)));
}

std::string PickerShownText(HWND picker) {
    QLineEdit* l = PickerLine(picker);
    if (!l) return {};
    const QString t = l->text();
    const QRect box = l->contentsRect();
    QString shown;
    for (int i = 0; i < t.size(); ++i) {
        const int left = CharX(l, i), right = CharX(l, i + 1);
        if (left >= box.left() && right <= box.right() + 1) shown += t[i];
    }
    return w32::FromQt(shown);
}

RECT PickerArrowsRect(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    if (!ctl) return RECT{};
    const QRect r = ctl->ArrowsRect();
    return r.isEmpty() ? RECT{} : RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

std::string PickerSelectedText(HWND picker) {
    QLineEdit* l = PickerLine(picker);
    return l ? w32::FromQt(l->selectedText()) : std::string();
}

bool PickerHasCalendar(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    return ctl && ctl->Popup();
}

RECT PickerCalendarRect(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    if (!ctl || !PickerCalendarOpen(picker)) return RECT{};
    QWidget* popup = ctl->Popup();
    const QPoint tl = ctl->Edit()->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
    return RECT{tl.x(), tl.y(), tl.x() + popup->width(), tl.y() + popup->height()};
}

void OpenPickerCalendar(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    if (!ctl) return;
    QDateTimeEdit* e = ctl->Edit();
    Click(picker, e->width() - 6, e->height() / 2);
}

bool PickerCalendarOpen(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    return ctl && ctl->Popup() && ctl->Popup()->isVisible();
}

void PickCalendarDate(HWND picker, int year, int month, int day) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    if (!ctl || !PickerCalendarOpen(picker)) return;
    ctl->Edit()->calendarWidget()->setSelectedDate(QDate(year, month, day));
    SendKey(CalendarGrid(ctl), Qt::Key_Return);
}

void DismissPickerCalendar(HWND picker) {
    DtpCtl* ctl = ControlOf<DtpCtl>(picker);
    if (!ctl || !PickerCalendarOpen(picker)) return;
    SendKey(CalendarGrid(ctl), Qt::Key_Escape);
}

void ClickToolbarButton(HWND toolbar, int commandId) {
    RECT rc{};
    const int index = static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, commandId, 0));
    if (index < 0 || !SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc))) return;
    Click(toolbar, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

}  // namespace w32test
