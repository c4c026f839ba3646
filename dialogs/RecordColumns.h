// How the relation pages and the pickers show a record of each kind: the
// columns of its list and the text of each cell, and the walk over a loaded
// node list for FillListAtTop.
#pragma once

#include "store/Acc_DetailClass.h"
#include "store/Con_DetailClass.h"
#include "store/Opp_DetailClass.h"
#include "store/Tas_DetailClass.h"
#include "shell/IDList.h"

class ListViewClass;

enum RecordKind { kKindTasks, kKindAccounts, kKindOpportunities, kKindContacts };

struct RecordColumn {
    const char* pszCaption;
    int nWidth;
};
struct RecordColumns {
    const RecordColumn* pColumns;
    int nColumns;
};

const RecordColumns& ColumnsOf(RecordKind kind);
// Prepares the list's column record and appends the kind's columns.
void InsertColumns(ListViewClass& list, RecordKind kind);

// The text of column nColumn of a record, cut at a character boundary.
void CellText(const TasNode& t, int nColumn, char* pszBuf, int nSize);
void CellText(const AccNode& a, int nColumn, char* pszBuf, int nSize);
void CellText(const OppNode& o, int nColumn, char* pszBuf, int nSize);
void CellText(const ConNode& c, int nColumn, char* pszBuf, int nSize);
inline ULONG RecordID(const TasNode& t) { return t.tas_id; }
inline ULONG RecordID(const AccNode& a) { return a.acc_id; }
inline ULONG RecordID(const OppNode& o) { return o.opp_id; }
inline ULONG RecordID(const ConNode& c) { return (ULONG)c.con_id; }

// Every node of a loaded list, from its head.
template <class Node>
class NodeListRows : public RowSource {
public:
    explicit NodeListRows(Node* pHead) : m_pHead(pHead) {}
    BOOL FirstRow() override { return FirstNode(m_pHead, m_p); }
    BOOL NextRow() override { return NextNode(m_p); }
    ULONG RowID() override { return RecordID(*m_p); }
    void RowText(int nColumn, char* pszBuf, int nSize) override { CellText(*m_p, nColumn, pszBuf, nSize); }

private:
    Node* m_pHead;
    Node* m_p = nullptr;
};
