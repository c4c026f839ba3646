#include "shell/HistoryClass.h"

#include <cstring>
#include <new>

#include "shell/ViewMessages.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

HistoryClass g_History;

namespace {

HistoryNode* NewNode() {
    HistoryNode* p = new (std::nothrow) HistoryNode;
    if (p) std::memset(p, 0, sizeof(*p));
    return p;
}

void FreeNode(HistoryNode* p) {
    delete[] p->m_pszKeyword;
    delete[] p->m_pszTitle;
    delete[] p->m_pulID;
    delete p;
}

char* CopyText(const char* psz) {
    const size_t n = std::strlen(psz);
    char* p = new (std::nothrow) char[n + 1];
    if (p) std::memcpy(p, psz, n + 1);
    return p;
}

}  // namespace

HistoryClass::HistoryClass() : m_pHead(nullptr), m_pCurrent(nullptr), m_pTail(nullptr) {}

HistoryClass::~HistoryClass() { FreeAll(); }

int HistoryClass::AllocHead() {
    if (m_pHead) return -1;
    HistoryNode* p = NewNode();
    if (!p) {
        ReportError(msg::kHistoryKeyword);
        return -1;
    }
    m_pHead = m_pCurrent = m_pTail = p;
    return 0;
}

int HistoryClass::Append() {
    if (!m_pHead || !m_pCurrent) return -1;
    HistoryNode* p = NewNode();
    if (!p) {
        ReportError(msg::kHistoryIDList);
        return -1;
    }
    // Anything after the current entry is cut first, so nothing is lost
    // from the list when a caller forgot to truncate.
    if (m_pCurrent->m_pNext) TruncateAfterCurrent();
    m_pCurrent->m_pNext = p;
    p->m_pPrev = m_pCurrent;
    m_pCurrent = m_pTail = p;
    return 0;
}

void HistoryClass::TruncateAfterCurrent() {
    if (!m_pHead || !m_pCurrent) return;
    m_pTail = m_pCurrent;
    HistoryNode* p = m_pCurrent->m_pNext;
    m_pCurrent->m_pNext = nullptr;
    while (p) {
        HistoryNode* pNext = p->m_pNext;
        FreeNode(p);
        p = pNext;
    }
}

int HistoryClass::AllocKeyword(int nLength) {
    if (!m_pCurrent || m_pCurrent->m_pszKeyword || nLength < 0) return -1;
    char* p = new (std::nothrow) char[(size_t)nLength + 1];
    if (!p) return -1;
    p[0] = '\0';
    m_pCurrent->m_pszKeyword = p;
    return 0;
}

void HistoryClass::FreeKeyword() {
    if (!m_pCurrent) return;
    delete[] m_pCurrent->m_pszKeyword;
    m_pCurrent->m_pszKeyword = nullptr;
}

int HistoryClass::AllocTitle(int nLength) {
    if (!m_pCurrent || m_pCurrent->m_pszTitle || nLength < 0) return -1;
    char* p = new (std::nothrow) char[(size_t)nLength + 1];
    if (!p) return -1;
    p[0] = '\0';
    m_pCurrent->m_pszTitle = p;
    return 0;
}

void HistoryClass::Back() {
    if (m_pCurrent && m_pCurrent->m_pPrev) m_pCurrent = m_pCurrent->m_pPrev;
}

void HistoryClass::Forward() {
    if (m_pCurrent && m_pCurrent->m_pNext) m_pCurrent = m_pCurrent->m_pNext;
}

void HistoryClass::FreeAll() {
    HistoryNode* p = m_pHead;
    while (p) {
        HistoryNode* pNext = p->m_pNext;
        FreeNode(p);
        p = pNext;
    }
    m_pHead = m_pCurrent = m_pTail = nullptr;
}

HistoryNode* HistoryClass::OpenEntry(BaseDialogClass* pView) {
    if (!m_pHead) return nullptr;
    TruncateAfterCurrent();
    if (Append() != 0) return nullptr;
    m_pCurrent->m_pView = pView;
    return m_pCurrent;
}

bool HistoryClass::IsCurrentOf(const BaseDialogClass* pView) const {
    return m_pCurrent && pView && m_pCurrent->m_pView == pView;
}

int HistoryClass::SetKeyword(const char* pszKeyword) {
    if (!m_pCurrent) return -1;
    FreeKeyword();
    if (!pszKeyword || !*pszKeyword) return 0;
    char* p = CopyText(pszKeyword);
    if (!p) return -1;
    m_pCurrent->m_pszKeyword = p;
    return 0;
}

int HistoryClass::SetTitle(const char* pszTitle) {
    if (!m_pCurrent) return -1;
    delete[] m_pCurrent->m_pszTitle;
    m_pCurrent->m_pszTitle = nullptr;
    if (!pszTitle) return 0;
    char* p = CopyText(pszTitle);
    if (!p) return -1;
    m_pCurrent->m_pszTitle = p;
    return 0;
}

int HistoryClass::SetIDArray(const ULONG* pulID, int nCount) {
    if (!m_pCurrent) return -1;
    delete[] m_pCurrent->m_pulID;
    m_pCurrent->m_pulID = nullptr;
    m_pCurrent->m_nIDCount = 0;
    if (!pulID || nCount <= 0) return 0;
    ULONG* p = new (std::nothrow) ULONG[(size_t)nCount];
    if (!p) return -1;
    std::memcpy(p, pulID, sizeof(ULONG) * (size_t)nCount);
    m_pCurrent->m_pulID = p;
    m_pCurrent->m_nIDCount = nCount;
    return 0;
}

HistoryNode* HistoryClass::PrevWithView() const {
    if (!m_pCurrent) return nullptr;
    for (HistoryNode* p = m_pCurrent->m_pPrev; p; p = p->m_pPrev)
        if (p->m_pView) return p;
    return nullptr;
}

HistoryNode* HistoryClass::NextWithView() const {
    if (!m_pCurrent) return nullptr;
    for (HistoryNode* p = m_pCurrent->m_pNext; p; p = p->m_pNext)
        if (p->m_pView) return p;
    return nullptr;
}

int HistoryClass::Count() const {
    int n = 0;
    for (HistoryNode* p = m_pHead; p; p = p->m_pNext) ++n;
    return n;
}
