// The COMBOBOX class over QComboBox. Items and the selection live in the
// control's state; the widget shows them. Drop-down lists return the selected
// item's text and refuse WM_SETTEXT.
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QStyledItemDelegate>
#include <algorithm>

#include <cstring>

#include "core.h"
#include "platform/gbk/gbk.h"

namespace w32 {
namespace {

struct ComboItem {
    std::string text;  // GBK
    LPARAM data = 0;
};

struct ComboState : ControlState {
    std::vector<ComboItem> items;
    int cur = -1;
    int quiet = 0;
};

ComboState* St(Window* w) { return w ? w->State<ComboState>() : nullptr; }
QComboBox* Box(Window* w) { return w ? qobject_cast<QComboBox*>(w->widget) : nullptr; }
bool DropList(const Window* w) { return (w->style & 3) == CBS_DROPDOWNLIST; }

void ShowSelection(Window* w) {
    ComboState* s = St(w);
    QComboBox* b = Box(w);
    if (!s || !b) return;
    ++s->quiet;
    b->setCurrentIndex(s->cur);
    if (s->cur < 0 && b->isEditable()) b->setEditText(QString());
    --s->quiet;
}

// The user chose an item: from the list, or with the keyboard on a closed box
// (which changes the index directly).
void OnChosen(HWND h, int index) {
    Window* w = FromHwnd(h);
    ComboState* s = St(w);
    if (!s || s->quiet) return;
    if (index == s->cur) return;
    s->cur = index;
    NotifyCommand(w, CBN_SELCHANGE);
}

// Rows of the open list a little higher than a line of their font, as the
// Win32 list rows are: the first and last rows show whole inside the frame.
// The caret's row, when it is not selected, shows a dotted focus frame (the
// style would fill it with a light highlight, as if it were chosen).
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(std::max(s.height(), option.fontMetrics.height()) + 2);
        return s;
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool caret = (option.state & QStyle::State_HasFocus) && !(option.state & QStyle::State_Selected);
        QStyleOptionViewItem o(option);
        o.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(p, o, index);
        if (!caret) return;
        p->save();
        p->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(option.rect.adjusted(0, 0, -1, -1));
        p->restore();
    }
};

// The open list holds whole rows, as a Win32 list without
// CBS_NOINTEGRALHEIGHT does: where Qt cuts the list to the screen, the part
// row at its far end goes, the end next to the box stays where it is.
class ComboWidget : public QComboBox {
public:
    ComboWidget(HWND h, QWidget* parent) : QComboBox(parent), hwnd_(h) {}
    void showPopup() override {
        QComboBox::showPopup();
        QAbstractItemView* v = view();
        if (v) v->installEventFilter(this);
        if (v) v->viewport()->installEventFilter(this);
        QWidget* list = v ? v->parentWidget() : nullptr;
        if (!list || count() == 0) return;
        // With nothing chosen the caret rests on the first row, whatever the
        // list's view kept from before (after the pointer moved through it,
        // none: End or PageDown would then go to the first row); the first
        // arrow key chooses it.
        if (currentIndex() < 0) {
            v->selectionModel()->clearSelection();
            v->selectionModel()->setCurrentIndex(v->model()->index(0, modelColumn()), QItemSelectionModel::NoUpdate);
        }
        const int row = v->sizeHintForRow(0);
        const int rest = row > 0 ? v->viewport()->height() % row : 0;
        // Only a list that scrolls has a part row; one showing all rows keeps its size.
        if (rest == 0 || v->viewport()->height() <= row || count() * row <= v->viewport()->height()) return;
        QRect r = list->geometry();
        // Qt lays a list above the box over its top row: it is above when it
        // starts above the box.
        const bool above = list->geometry().top() < mapToGlobal(QPoint(0, 0)).y();
        if (above)
            r.setTop(r.top() + rest);
        else
            r.setBottom(r.bottom() - rest);
        list->setGeometry(r);
        if (currentIndex() >= 0) v->scrollTo(v->model()->index(currentIndex(), modelColumn()));
    }
    // Every close of the open list ends here. One that picks (Enter, F4,
    // Alt+Up, Alt+Down, a click on a row) makes the row the list shows
    // selected the selection (CBN_SELCHANGE), then CBN_SELENDOK; any other
    // (Esc, a click elsewhere) CBN_SELENDCANCEL; CBN_CLOSEUP once it is gone.
    // A list opened on no selection shows none until the user moves in it.
    void hidePopup() override {
        QAbstractItemView* v = view();
        const bool pick = picking_;
        picking_ = false;
        if (!v || !v->isVisible()) return QComboBox::hidePopup();
        const HWND h = hwnd_;
        const QModelIndex shown = v->currentIndex();
        if (pick && shown.isValid() && v->selectionModel()->isSelected(shown)) setCurrentIndex(shown.row());
        if (Window* w = FromHwnd(h)) NotifyCommand(w, pick ? CBN_SELENDOK : CBN_SELENDCANCEL);
        if (!FromHwnd(h)) return;
        QComboBox::hidePopup();
        if (Window* w = FromHwnd(h)) NotifyCommand(w, CBN_CLOSEUP);
    }

protected:
    // Alt+Up opens the list as Alt+Down does (Qt would step the selection).
    // With nothing chosen, Up or Down chooses the caret's row, the first.
    void keyPressEvent(QKeyEvent* e) override {
        const bool arrow = e->key() == Qt::Key_Up || e->key() == Qt::Key_Down;
        if (e->key() == Qt::Key_Up && (e->modifiers() & Qt::AltModifier))
            showPopup();
        else if (arrow && !(e->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) && currentIndex() < 0 && count())
            setCurrentIndex(0);
        else
            QComboBox::keyPressEvent(e);
    }
    // The keys that close the open list, on its row or (Esc) without a pick,
    // each taken by the list alone (Esc would cancel the dialog too), and the
    // release of a click on a row, which Qt's list closes itself on.
    bool eventFilter(QObject* o, QEvent* e) override {
        QAbstractItemView* v = view();
        if (!v || (o != v && o != v->viewport())) return QComboBox::eventFilter(o, e);
        if (e->type() == QEvent::MouseButtonRelease && v->parentWidget()) {
            picking_ = true;
            const bool taken = v->parentWidget()->eventFilter(o, e);
            picking_ = false;
            return taken;
        }
        if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress) return QComboBox::eventFilter(o, e);
        const int key = static_cast<QKeyEvent*>(e)->key();
        const bool alt = static_cast<QKeyEvent*>(e)->modifiers() & Qt::AltModifier;
        // The first Up or Down in a list without a chosen row chooses the
        // caret's row itself, not the one past it.
        const QModelIndex caret = v->currentIndex();
        if (e->type() == QEvent::KeyPress && (key == Qt::Key_Up || key == Qt::Key_Down) && !alt && caret.isValid() &&
            !v->selectionModel()->hasSelection()) {
            v->selectionModel()->setCurrentIndex(caret, QItemSelectionModel::ClearAndSelect);
            return true;
        }
        const bool cancel = key == Qt::Key_Escape;
        if (!(cancel || key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_F4 && !alt) ||
              (alt && (key == Qt::Key_Up || key == Qt::Key_Down))))
            return QComboBox::eventFilter(o, e);
        // The override only claims the key for the list: closed then, the
        // list would leave the key's press to the box, which opens it again.
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        if (v->isVisible()) {
            picking_ = !cancel;
            hidePopup();
        }
        return true;
    }

private:
    HWND hwnd_;
    bool picking_ = false;  // the list closes on a pick
};

QWidget* MakeCombo(Window* w, QWidget* parent) {
    w->state = std::make_unique<ComboState>();
    auto* b = new ComboWidget(w->hwnd, parent);
    b->setEditable(!DropList(w));
    b->setMaxVisibleItems(30);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setFont(DefaultControlFont());
    b->setItemDelegate(new RowDelegate(b));
    b->setContextMenuPolicy(Qt::NoContextMenu);
    HWND h = w->hwnd;
    QObject::connect(b, QOverload<int>::of(&QComboBox::activated), b, [h](int i) { OnChosen(h, i); });
    QObject::connect(b, &QComboBox::currentIndexChanged, b, [h](int i) { OnChosen(h, i); });
    if (b->lineEdit()) {
        AttachInput(w, b->lineEdit());
        QObject::connect(b->lineEdit(), &QLineEdit::textEdited, b, [h] {
            if (Window* w = FromHwnd(h)) NotifyCommand(w, CBN_EDITCHANGE);
        });
    }
    // The closed box is as high as one line; the given height was for the list.
    int closed = std::max(22, b->sizeHint().height());
    if (w->rect.bottom - w->rect.top > closed) w->rect.bottom = w->rect.top + closed;
    return b;
}

int Insert(Window* w, int index, const char* text) {
    ComboState* s = St(w);
    QComboBox* b = Box(w);
    std::string t = text ? text : "";
    int n = int(s->items.size());
    if (index < 0 || index > n) index = n;
    if (s->cur >= index) ++s->cur;
    s->items.insert(s->items.begin() + index, ComboItem{t, 0});
    ++s->quiet;
    b->insertItem(index, ToQt(t));
    --s->quiet;
    ShowSelection(w);
    return index;
}

LRESULT CALLBACK ComboProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHwnd(h);
    ComboState* s = St(w);
    QComboBox* b = Box(w);
    if (!s || !b) return DefWindowProcA(h, msg, wp, lp);
    int n = int(s->items.size());
    switch (msg) {
    case CB_ADDSTRING: {
        int index = n;
        if (w->style & CBS_SORT) {
            std::string t = lp ? reinterpret_cast<const char*>(lp) : "";
            index = 0;
            while (index < n && gbk::CompareNoCase(s->items[size_t(index)].text, t) <= 0) ++index;
        }
        return Insert(w, index, reinterpret_cast<const char*>(lp));
    }
    case CB_INSERTSTRING: {
        int index = int(wp);
        if (index > n) return CB_ERR;
        return Insert(w, index, reinterpret_cast<const char*>(lp));
    }
    case CB_DELETESTRING: {
        int i = int(wp);
        if (i < 0 || i >= n) return CB_ERR;
        s->items.erase(s->items.begin() + i);
        if (s->cur == i)
            s->cur = -1;
        else if (s->cur > i)
            --s->cur;
        ++s->quiet;
        b->removeItem(i);
        --s->quiet;
        ShowSelection(w);
        return n - 1;
    }
    case CB_RESETCONTENT:
        s->items.clear();
        s->cur = -1;
        ++s->quiet;
        b->clear();
        --s->quiet;
        return CB_OKAY;
    case CB_GETCOUNT: return n;
    case CB_GETCURSEL: return s->cur;
    case CB_SETCURSEL: {
        int i = int(wp);
        if (i < 0 || i >= n) {
            s->cur = -1;
            ShowSelection(w);
            return CB_ERR;
        }
        s->cur = i;
        ShowSelection(w);
        return i;
    }
    case CB_GETLBTEXT: {
        int i = int(wp);
        if (i < 0 || i >= n) return CB_ERR;
        const std::string& t = s->items[size_t(i)].text;
        if (lp) memcpy(reinterpret_cast<char*>(lp), t.c_str(), t.size() + 1);
        return LRESULT(t.size());
    }
    case CB_GETLBTEXTLEN: {
        int i = int(wp);
        if (i < 0 || i >= n) return CB_ERR;
        return LRESULT(s->items[size_t(i)].text.size());
    }
    case CB_GETITEMDATA: {
        int i = int(wp);
        if (i < 0 || i >= n) return CB_ERR;
        return s->items[size_t(i)].data;
    }
    case CB_SETITEMDATA: {
        int i = int(wp);
        if (i < 0 || i >= n) return CB_ERR;
        s->items[size_t(i)].data = lp;
        return CB_OKAY;
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
        std::string t = lp ? reinterpret_cast<const char*>(lp) : "";
        int start = int(wp) < 0 || int(wp) >= n ? 0 : int(wp) + 1;
        for (int k = 0; k < n; ++k) {
            int i = (start + k) % std::max(n, 1);
            const std::string& it = s->items[size_t(i)].text;
            // The same characters (the list's order holds the forms of a
            // letter alike, a search does not).
            bool match =
                msg == CB_FINDSTRINGEXACT ? gbk::EqualNoCase(it, t) : gbk::EqualNoCase(it.substr(0, t.size()), t);
            if (match) {
                if (msg == CB_SELECTSTRING) {
                    s->cur = i;
                    ShowSelection(w);
                }
                return i;
            }
        }
        return CB_ERR;
    }
    case CB_SHOWDROPDOWN:
        if (wp)
            b->showPopup();
        else
            b->hidePopup();
        return TRUE;
    case CB_GETDROPPEDSTATE: return b->view() && b->view()->isVisible();
    case CB_SETMINVISIBLE: b->setMaxVisibleItems(std::max<int>(1, int(wp))); return TRUE;
    case CB_GETMINVISIBLE: return b->maxVisibleItems();
    case CB_LIMITTEXT:
        if (b->lineEdit()) b->lineEdit()->setMaxLength(wp ? int(wp) : 32767);
        return TRUE;
    case CB_GETDROPPEDCONTROLRECT: {
        if (auto* r = reinterpret_cast<RECT*>(lp)) GetWindowRect(h, r);
        return TRUE;
    }
    case CB_SETITEMHEIGHT:
    case CB_GETITEMHEIGHT: return b->sizeHint().height();
    case WM_GETTEXT: {
        std::string t;
        if (DropList(w))
            t = s->cur >= 0 && s->cur < n ? s->items[size_t(s->cur)].text : std::string();
        else
            t = FromQt(b->currentText());
        return CopyText(reinterpret_cast<char*>(lp), int(wp), t);
    }
    case WM_GETTEXTLENGTH:
        if (DropList(w)) return s->cur >= 0 && s->cur < n ? LRESULT(s->items[size_t(s->cur)].text.size()) : 0;
        return LRESULT(FromQt(b->currentText()).size());
    case WM_SETTEXT:
        if (DropList(w)) return CB_ERR;
        ++s->quiet;
        b->setEditText(ToQt(reinterpret_cast<const char*>(lp)));
        --s->quiet;
        return TRUE;
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wp);
        b->setFont(FontOf(w->font));
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wp == VK_TAB || wp == VK_RETURN || wp == VK_ESCAPE) return 0;
        DefaultInput(w, msg, wp, lp);
        return 0;
    case WM_CHAR: return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
        if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && GetFocus() != h) {
            SetFocus(h);
            if (!(w = FromHwnd(h))) return 0;
        }
        DefaultInput(w, msg, wp, lp);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

void RegisterComboClass() {
    RegisterBuiltinClass("COMBOBOX", CS_DBLCLKS | CS_PARENTDC, ComboProc, LoadCursorA(nullptr, IDC_ARROW), nullptr,
                         MakeCombo);
}

}  // namespace w32
