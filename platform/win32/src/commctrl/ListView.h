// List view ("SysListView32") in report mode: the row store is the truth;
// a QTreeView over a thin table model shows it. Changes to the rows are
// batched: the model is told once per turn of the event loop, so filling
// N rows costs O(N) however the rows are inserted.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <string>
#include <vector>

#include "commctrl/ListStore.h"
#include "win32.h"

namespace w32::cc {

class ListViewCtl;

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(ListViewCtl* ctl) : ctl_(ctl) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the model's row and column counts up to the store.
    void Sync(int rows, int cols);
    void CellsChanged(int firstRow, int lastRow);
    void HeaderChanged();

private:
    ListViewCtl* ctl_;
    int rows_ = 0;
    int cols_ = 0;
};

class ListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ListDelegate(ListViewCtl* ctl, QObject* parent) : QStyledItemDelegate(parent), ctl_(ctl) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // Rows a few pixels taller than the font, as Win32 list views have them.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ListViewCtl* ctl_;
};

class ListTree : public QTreeView {
    Q_OBJECT
public:
    ListTree(ListViewCtl* ctl, QWidget* parent);
    using QTreeView::edit;
    int RowAt(QPoint viewportPos) const;
    int ColumnAt(QPoint viewportPos) const;
    QRect RowRect(int row) const;  // viewport coordinates, all columns
    QRect StateIconRect(int row) const;
    int TopRow() const;       // the first row in view
    int RowHeight() const;    // a row's height, or the font's while there are none
    int RowsPerPage() const;  // rows wholly in view
    void SetHot(int row);
    int Hot() const { return hot_; }
    bool Editing() const { return state() == EditingState; }
    // Closes an open label editor without taking its text.
    void CancelEdit();

protected:
    void paintEvent(QPaintEvent* e) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void resizeEvent(QResizeEvent* e) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    ListViewCtl* ctl_;
    QWidget* border_;
    int hot_ = -1;
    bool afterDouble_ = false;
    bool iconPress_ = false;
    mutable bool itemDraw_ = false;
};

class ListViewCtl : public QObject {
    Q_OBJECT
public:
    struct Column {
        std::string text;  // GBK
        int width = 0;
        int fmt = LVCFMT_LEFT;
    };

    ListViewCtl(HWND hwnd, DWORD style, QWidget* parent);
    ~ListViewCtl() override;

    QWidget* Widget() const { return tree_; }
    ListTree* Tree() const { return tree_; }
    const ListStore& Store() const { return store_; }
    const std::vector<Column>& Columns() const { return columns_; }
    DWORD Style() const { return style_; }
    DWORD ExStyle() const { return exStyle_; }
    HIMAGELIST StateImages() const { return stateList_; }
    COLORREF TextColor() const { return textColor_; }
    COLORREF TextBkColor() const { return textBkColor_; }

    // Handles an LVM_* message (and WM_SETFONT/WM_GETFONT); `handled` false
    // for messages that are not the list's own.
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

    // Tells the Qt model about pending row changes now.
    void Flush();

    // Notifications to the parent; pt is in viewport coordinates.
    LRESULT NotifyItem(UINT code, int row, int sub, QPoint pt);
    LRESULT Notify(UINT code, NMHDR* hdr);

    void ToggleCheck(int row);
    // The hand over the hot row of a one-click-activate list, else the arrow.
    void UpdateCursor();
    int StateImageOf(int row) const { return static_cast<int>((store_.State(row) & LVIS_STATEIMAGEMASK) >> 12); }
    bool BeginLabelEdit(int row);
    // Sends LVN_ENDLABELEDIT; text null = cancelled. Keeps the text when the parent accepts.
    void EndLabelEdit(int row, const char* text);

private:
    void ScheduleFlush();
    // Marks a row's cells for the model at the next flush.
    void RowChanged(int row);
    void ApplyExStyle();
    void ApplyColumns();
    void SyncSelectionToStore(const QItemSelection& selected, const QItemSelection& deselected);
    void ApplySelectionFromStore();
    void SetRowState(int row, UINT state, UINT mask);
    // SetRowState for a row (every row for -1) as Win32 announces it:
    // LVN_ITEMCHANGING, which may refuse it (false), then LVN_ITEMCHANGED,
    // once for -1 (iItem -1). A change that alters nothing is not announced.
    bool ChangeRowState(int row, UINT state, UINT mask);
    void EnsureDefaultCheckImages();

    LRESULT InsertItem(const LVITEMA* item);
    LRESULT SetItem(const LVITEMA* item);
    LRESULT GetItem(LVITEMA* item);
    LRESULT GetItemText(int row, LVITEMA* item);
    LRESULT InsertColumn(int index, const LVCOLUMNA* col);
    LRESULT SetColumn(int index, const LVCOLUMNA* col);
    LRESULT GetColumn(int index, LVCOLUMNA* col);
    LRESULT HitTest(LVHITTESTINFO* info);  // also answers LVM_SUBITEMHITTEST

    HWND hwnd_;
    DWORD style_;
    DWORD exStyle_ = 0;
    ListStore store_;
    std::vector<Column> columns_;
    ListModel* model_;
    ListTree* tree_;
    HIMAGELIST stateList_ = nullptr;
    HIMAGELIST smallList_ = nullptr;
    HIMAGELIST normalList_ = nullptr;
    HIMAGELIST ownCheckList_ = nullptr;
    HFONT font_ = nullptr;
    COLORREF bkColor_ = 0xFFFFFF;
    COLORREF textColor_ = 0x000000;
    COLORREF textBkColor_ = 0xFFFFFF;
    bool flushPending_ = false;
    bool structureDirty_ = false;
    int dirtyFirst_ = -1;
    int dirtyLast_ = -1;
    bool syncingSelection_ = false;
    bool headerDirty_ = false;
    friend class ListTree;
};

}  // namespace w32::cc
