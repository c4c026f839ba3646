// Menus: handles built from menu resources or by hand, and TrackPopupMenu
// over QMenu (the chosen command is posted to the owner after the menu closes).
// Qt's own context menus are placed as TrackPopupMenu places a menu.
#include <QtGui/QAction>
#include <QtGui/QContextMenuEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtCore/QPointer>
#include <QtCore/QTimer>

#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "core.h"
#include "res/resdata.h"

namespace w32 {
namespace {

// The MF_* flags an item keeps.
constexpr UINT kItemFlags = MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED;

struct MenuItemObj {
    UINT id = 0;
    UINT flags = 0;  // kItemFlags bits
    std::string text;
    HMENU sub = nullptr;
};

struct MenuObj {
    std::vector<MenuItemObj> items;
    bool popup = true;
};

// The popup menus being tracked, with their owners (nested menus stack).
struct OpenMenu {
    HWND owner;
    QPointer<QMenu> menu;
};
std::vector<OpenMenu> g_openMenus;

std::mutex g_menuMutex;
std::unordered_set<MenuObj*>& Menus() {
    static auto* s = new std::unordered_set<MenuObj*>;
    return *s;
}

MenuObj* M(HMENU h) {
    std::lock_guard<std::mutex> lock(g_menuMutex);
    auto* m = reinterpret_cast<MenuObj*>(h);
    return Menus().count(m) ? m : nullptr;
}

HMENU NewMenu(bool popup) {
    auto* m = new MenuObj;
    m->popup = popup;
    std::lock_guard<std::mutex> lock(g_menuMutex);
    Menus().insert(m);
    return reinterpret_cast<HMENU>(m);
}

HMENU Build(const w32res::MenuItem* items, uint32_t count, bool popup) {
    HMENU h = NewMenu(popup);
    MenuObj* m = M(h);
    for (uint32_t i = 0; i < count; ++i) {
        const w32res::MenuItem& it = items[i];
        MenuItemObj o;
        o.id = it.id;
        o.flags = it.flags & kItemFlags;
        o.text = it.text ? it.text : "";
        if (it.flags & w32res::kMenuPopup) o.sub = Build(it.children, it.childCount, true);
        m->items.push_back(o);
    }
    return h;
}

MenuItemObj* Find(HMENU h, UINT pos, UINT flags, HMENU* owner = nullptr, size_t* index = nullptr) {
    MenuObj* m = M(h);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (pos >= m->items.size()) return nullptr;
        if (owner) *owner = h;
        if (index) *index = pos;
        return &m->items[pos];
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        MenuItemObj& it = m->items[i];
        if (!(it.flags & MF_POPUP) && !(it.flags & MF_SEPARATOR) && it.id == pos) {
            if (owner) *owner = h;
            if (index) *index = i;
            return &it;
        }
        if (it.sub)
            if (MenuItemObj* r = Find(it.sub, pos, flags, owner, index)) return r;
    }
    return nullptr;
}

void Fill(QMenu* q, HMENU h) {
    MenuObj* m = M(h);
    if (!m) return;
    for (const MenuItemObj& it : m->items) {
        if (it.flags & MF_SEPARATOR) {
            q->addSeparator();
            continue;
        }
        QString text = ToQt(it.text);
        if (it.sub) {
            QMenu* sub = q->addMenu(text);
            sub->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
            Fill(sub, it.sub);
            continue;
        }
        QAction* a = q->addAction(text);
        a->setData(QVariant(uint(it.id)));
        a->setEnabled(!(it.flags & (MF_GRAYED | MF_DISABLED)));
        if (it.flags & MF_CHECKED) {
            a->setCheckable(true);
            a->setChecked(true);
        }
    }
}

// Where a popup menu of `size` opens for the screen point `point`, asked
// for at `at` (the point, or beside it as the TPM_* flags align it): kept on
// the screen as Win32 keeps a popup menu, past an edge it goes to the other
// side of the point, then is shifted onto the screen.
QPoint PopupMenuPlace(QPoint point, QPoint at, QSize size) {
    QRect area = ScreenArea();
    if (QScreen* s = QGuiApplication::screenAt(point)) area = s->availableGeometry();
    const QRect r(at, size);
    if (r.right() > area.right()) at.setX(point.x() - size.width());
    if (r.left() < area.left()) at.setX(point.x());
    if (r.bottom() > area.bottom()) at.setY(point.y() - size.height());
    if (r.top() < area.top()) at.setY(point.y());
    at.setX(std::max(std::min(at.x(), area.right() + 1 - size.width()), area.left()));
    at.setY(std::max(std::min(at.y(), area.bottom() + 1 - size.height()), area.top()));
    return at;
}

// A context menu of Qt's own (a scroll bar's, the save dialog's lists' and
// name box's) opens as a popup menu at its point: a menu that shows while a
// context-menu event is delivered was opened by its handler at the event's
// point. It is placed when its show event comes, before its window is mapped.
class QtMenusAsPopupMenus : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::ContextMenu) {
            point_ = static_cast<QContextMenuEvent*>(e)->globalPos();
            // Forgotten once the event is handled (posted calls wait for it;
            // a menu's own loop starts after the menu shows).
            if (!noted_) QTimer::singleShot(0, this, [this] { noted_ = false; });
            noted_ = true;
        } else if (e->type() == QEvent::Show && noted_) {
            auto* menu = qobject_cast<QMenu*>(o);
            const auto layers = [menu](const OpenMenu& m) { return m.menu == menu; };
            if (menu && menu->isWindow() && std::none_of(g_openMenus.begin(), g_openMenus.end(), layers))
                menu->move(PopupMenuPlace(point_, point_, menu->size()));
        }
        return false;
    }

private:
    QPoint point_;
    bool noted_ = false;
};

}  // namespace

void PlaceQtMenus(QApplication* app) {
    auto* filter = new QtMenusAsPopupMenus;
    filter->setParent(app);  // goes with the application
    app->installEventFilter(filter);
}

void ClosePopupMenusOf(HWND owner) {
    for (OpenMenu& m : g_openMenus)
        if (m.owner == owner && m.menu) m.menu->close();
}

int CountMenus() {
    std::lock_guard<std::mutex> lock(g_menuMutex);
    return int(Menus().size());
}

std::vector<std::string> MenuCaptions(HMENU h) {
    std::vector<std::string> v;
    if (MenuObj* m = M(h))
        for (auto& it : m->items) v.push_back(it.text);
    return v;
}

}  // namespace w32

using namespace w32;

HMENU LoadMenuA(HINSTANCE, LPCSTR lpMenuName) {
    const w32res::MenuTemplate* t = w32res::FindMenu(lpMenuName);
    if (!t) return nullptr;
    return Build(t->items, t->count, false);
}

HMENU CreateMenu(void) { return NewMenu(false); }
HMENU CreatePopupMenu(void) { return NewMenu(true); }

BOOL DestroyMenu(HMENU hMenu) {
    MenuObj* m = M(hMenu);
    if (!m) return FALSE;
    for (auto& it : m->items)
        if (it.sub) DestroyMenu(it.sub);
    {
        std::lock_guard<std::mutex> lock(g_menuMutex);
        Menus().erase(m);
    }
    delete m;
    return TRUE;
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
    MenuObj* m = M(hMenu);
    if (!m || nPos < 0 || size_t(nPos) >= m->items.size()) return nullptr;
    return m->items[size_t(nPos)].sub;
}

int GetMenuItemCount(HMENU hMenu) {
    MenuObj* m = M(hMenu);
    return m ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
    MenuObj* m = M(hMenu);
    if (!m || nPos < 0 || size_t(nPos) >= m->items.size()) return UINT(-1);
    const MenuItemObj& it = m->items[size_t(nPos)];
    return it.sub ? UINT(-1) : it.id;
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    MenuObj* m = M(hMenu);
    if (!m) return FALSE;
    MenuItemObj o;
    o.flags = uFlags & kItemFlags;
    if (uFlags & MF_POPUP)
        o.sub = reinterpret_cast<HMENU>(uIDNewItem);
    else
        o.id = UINT(uIDNewItem);
    if (lpNewItem && !(uFlags & MF_SEPARATOR)) o.text = lpNewItem;
    size_t at = m->items.size();
    if (uPosition != UINT(-1)) {
        if (uFlags & MF_BYPOSITION) {
            at = std::min<size_t>(uPosition, m->items.size());
        } else {
            for (size_t i = 0; i < m->items.size(); ++i)
                if (m->items[i].id == uPosition && !m->items[i].sub) at = i;
        }
    }
    m->items.insert(m->items.begin() + long(at), o);
    return TRUE;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    return InsertMenuA(hMenu, UINT(-1), uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    HMENU owner = nullptr;
    size_t index = 0;
    if (!Find(hMenu, uPosition, uFlags, &owner, &index)) return FALSE;
    MenuObj* m = M(owner);
    m->items.erase(m->items.begin() + long(index));
    return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    HMENU owner = nullptr;
    size_t index = 0;
    MenuItemObj* it = Find(hMenu, uPosition, uFlags, &owner, &index);
    if (!it) return FALSE;
    HMENU sub = it->sub;
    M(owner)->items.erase(M(owner)->items.begin() + long(index));
    if (sub) DestroyMenu(sub);
    return TRUE;
}

BOOL EnableMenuItem(HMENU hMenu, UINT id, UINT uEnable) {
    MenuItemObj* it = Find(hMenu, id, uEnable);
    if (!it) return -1;
    UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return BOOL(old);
}

DWORD CheckMenuItem(HMENU hMenu, UINT id, UINT uCheck) {
    MenuItemObj* it = Find(hMenu, id, uCheck);
    if (!it) return DWORD(-1);
    DWORD old = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~MF_CHECKED) | (uCheck & MF_CHECKED);
    return old;
}

UINT GetMenuState(HMENU hMenu, UINT id, UINT flags) {
    MenuItemObj* it = Find(hMenu, id, flags);
    if (!it) return UINT(-1);
    return it->flags;
}

int GetMenuStringA(HMENU hMenu, UINT id, LPSTR s, int cchMax, UINT flags) {
    MenuItemObj* it = Find(hMenu, id, flags);
    if (!it) return 0;
    if (!s || cchMax <= 0) return int(it->text.size());
    return CopyText(s, cchMax, it->text);
}

HMENU GetMenu(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    return w && !w->IsChild() ? w->menu : nullptr;
}

BOOL SetMenu(HWND hWnd, HMENU hMenu) {
    Window* w = FromHwnd(hWnd);
    if (!w || w->IsChild()) return FALSE;
    w->menu = hMenu;
    return TRUE;
}

BOOL DrawMenuBar(HWND) { return TRUE; }

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
    if (!IsUiThread()) {
        BOOL r = FALSE;
        RunOnUiThread([&] { r = TrackPopupMenu(hMenu, uFlags, x, y, 0, hWnd, nullptr); });
        return r;
    }
    if (!M(hMenu)) return FALSE;
    UINT id = 0;
    if (!HookPopupMenu(hMenu, hWnd, x, y, uFlags, &id)) {
        if (!LayerAlive()) return FALSE;
        Send(FromHwnd(hWnd), WM_ENTERMENULOOP, TRUE, 0);
        Send(FromHwnd(hWnd), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
        // Not a child of the owner's widget: the owner may be destroyed while
        // the menu is open (the menu then closes, see ClosePopupMenusOf).
        QPointer<QMenu> menu = new QMenu;
        menu->setFont(DefaultControlFont());
        Fill(menu, hMenu);
        QSize size = menu->sizeHint();
        QPoint at(x, y);
        if (uFlags & TPM_RIGHTALIGN)
            at.rx() -= size.width();
        else if (uFlags & TPM_CENTERALIGN)
            at.rx() -= size.width() / 2;
        if (uFlags & TPM_BOTTOMALIGN)
            at.ry() -= size.height();
        else if (uFlags & TPM_VCENTERALIGN)
            at.ry() -= size.height() / 2;
        at = PopupMenuPlace(QPoint(x, y), at, size);
        QAction* chosen = nullptr;
        if (IsWindow(hWnd) || !hWnd) {
            g_openMenus.push_back(OpenMenu{hWnd, menu});
            ForeignLoopScope loop;
            chosen = menu->exec(at);
            g_openMenus.pop_back();
        }
        if (chosen && chosen->data().isValid() && (IsWindow(hWnd) || !hWnd)) id = chosen->data().toUInt();
        delete menu.data();
        Send(FromHwnd(hWnd), WM_EXITMENULOOP, TRUE, 0);
    }
    if (uFlags & TPM_RETURNCMD) return BOOL(id);
    if (id && IsWindow(hWnd) && !(uFlags & TPM_NONOTIFY)) PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return id ? TRUE : FALSE;
}
