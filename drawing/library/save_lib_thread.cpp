#include "drawing/library/save_lib_thread.h"

#include <memory>
#include <new>

#include "drawing/common/common_thread.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/library/save_lib_task.h"

IMPLEMENT_DYNCREATE(TSaveLibThread, CWinThread)

volatile BYTE LibWriting = 0;

namespace {

const INT_PTR kQueueGrowth = 4;

}  // namespace

TSaveLibThread::TSaveLibThread()
    : m_queue(new CObArray), m_event(new CWin32ThreadEvent), m_idle(CreateEventA(nullptr, TRUE, TRUE, nullptr)),
      m_quit(0)
{
    m_queue->SetSize(0, kQueueGrowth);
}

TSaveLibThread::~TSaveLibThread()
{
    for (INT_PTR i = 0; i < m_queue->GetSize(); ++i)
        delete m_queue->GetAt(i);
    delete m_queue;
    delete m_event;
    if (m_idle)
        CloseHandle(m_idle);
}

TSaveLibThread* TSaveLibThread::Start()
{
    CWinThread* thread =
        AfxBeginThread(RUNTIME_CLASS(TSaveLibThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
        return nullptr;
    // The owner deletes the object after the thread has ended.
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    return static_cast<TSaveLibThread*>(thread);
}

// A writer still busy after the timeout is left to end by itself; its
// object is then not deleted.
void TSaveLibThread::Stop()
{
    m_quit = 1;
    m_event->Signal();
    if (WaitForSingleObject(m_hThread, kStopTimeoutMs) == WAIT_OBJECT_0)
        delete this;
}

// The quit flag is cleared by the constructor only: a Stop that comes
// before the thread first runs must not be forgotten.
BOOL TSaveLibThread::InitInstance()
{
    return TRUE;
}

bool TSaveLibThread::AddTask(const char* folder, CObArray* records, bool force, uint32_t width, uint32_t height)
{
    std::unique_ptr<TSaveLibTask> task(new (std::nothrow) TSaveLibTask(folder, records, force, width, height));
    if (!task)
        return false;
    {
        CSingleLock hold(&m_queueLock, TRUE);
        try {
            m_queue->Add(task.get());
        } catch (...) {
            task->records = nullptr;
            return false;
        }
        ResetEvent(m_idle);
    }
    task.release();
    m_event->Signal();
    return true;
}

bool TSaveLibThread::WaitUntilIdle(DWORD timeoutMs) const
{
    return WaitForSingleObject(m_idle, timeoutMs) == WAIT_OBJECT_0;
}

TSaveLibTask* TSaveLibThread::TakeOldest()
{
    CSingleLock hold(&m_queueLock, TRUE);
    if (m_queue->GetSize() == 0) {
        SetEvent(m_idle);
        return nullptr;
    }
    TSaveLibTask* task = static_cast<TSaveLibTask*>(m_queue->GetAt(0));
    m_queue->RemoveAt(0);
    return task;
}

// A library that could not be written stays as it was, and so does its
// index record; one that is left without records goes with its record.
void TSaveLibThread::WriteOne(TSaveLibTask& task)
{
    TLibIndexTree* index = GetLibIndexTree();
    CString file;
    LibWriteChoice choice = LibWriteFolderOwn;
    if (index)
        choice = index->ChooseLibForWrite(task.folder, file);
    else
        MakeFolderLibPath(task.folder, false, file);
    const LibWriteResult result = task.WriteLib(file);
    if (result == LibWritten) {
        if (index && choice == LibWriteCacheFolder)
            index->AddLib(file, task.folder);
        else if (index)
            index->RemoveLib(task.folder);
    } else if (result == LibNothingToWrite) {
        if (IsLibraryFileName(file))
            DeleteFileA(file);
        if (index && choice == LibWriteCacheFolder)
            index->RemoveLib(task.folder);
    }
}

int TSaveLibThread::Run()
{
    while (!m_quit) {
        WaitForSingleObject(m_event->GetHandle(), INFINITE);
        LibWriting = 1;
        while (!m_quit) {
            std::unique_ptr<TSaveLibTask> task(TakeOldest());
            if (!task)
                break;
            WriteOne(*task);
        }
        LibWriting = 0;
    }
    SetEvent(m_idle);
    return ExitInstance();
}
