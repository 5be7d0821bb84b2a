// Cursor and icon handles: records holding Qt cursors and icons. Standard
// cursors (LoadCursorA with a null instance) are shared and never destroyed.

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <variant>

#include "platform/base/Guarded.h"
#include "platform/base/LastError.h"
#include "platform/base/NoDestructor.h"
#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/WindowThreadCalls.h"
#include "platform/ui/qt/QtHandles.h"
#include "platform/ui/qt/WidgetWindows.h"

namespace vellumry::ui {
namespace {

struct HandleRecord {
    std::variant<QCursor, QIcon> value;
    bool shared = false;
};

struct HandleStore {
    std::uintptr_t next = 0x20010;
    std::map<std::uintptr_t, HandleRecord> records;
    std::map<std::uintptr_t, std::uintptr_t> standardCursors;  // resource id -> handle
    HCURSOR current = nullptr;
};

// Never destroyed: statics elsewhere (a ScopedIcon of the program's icons)
// may release their handles while the process exits.
base::Guarded<HandleStore>& Store()
{
    static base::NoDestructor<base::Guarded<HandleStore>> store;
    return *store;
}

std::uintptr_t Add(HandleRecord record)
{
    auto store = Store().Lock();
    store->next += 4;
    store->records.emplace(store->next, std::move(record));
    return store->next;
}

std::optional<HandleRecord> Lookup(const void* handle)
{
    auto store = Store().Lock();
    auto it = store->records.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == store->records.end())
        return std::nullopt;
    return it->second;
}

BOOL Destroy(const void* handle)
{
    auto store = Store().Lock();
    auto it = store->records.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == store->records.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!it->second.shared)
        store->records.erase(it);
    return TRUE;
}

std::optional<Qt::CursorShape> StandardShape(std::uintptr_t id)
{
    switch (id) {
    case IDC_ARROW.id: return Qt::ArrowCursor;
    case IDC_IBEAM.id: return Qt::IBeamCursor;
    case IDC_WAIT.id: return Qt::WaitCursor;
    case IDC_CROSS.id: return Qt::CrossCursor;
    case IDC_UPARROW.id: return Qt::UpArrowCursor;
    case IDC_SIZENWSE.id: return Qt::SizeFDiagCursor;
    case IDC_SIZENESW.id: return Qt::SizeBDiagCursor;
    case IDC_SIZEWE.id: return Qt::SizeHorCursor;
    case IDC_SIZENS.id: return Qt::SizeVerCursor;
    case IDC_SIZEALL.id: return Qt::SizeAllCursor;
    case IDC_NO.id: return Qt::ForbiddenCursor;
    case IDC_HAND.id: return Qt::PointingHandCursor;
    case IDC_APPSTARTING.id: return Qt::BusyCursor;
    case IDC_HELP.id: return Qt::WhatsThisCursor;
    default: return std::nullopt;
    }
}

// Reads an .ico or .cur file and picks the image of the wanted size (any
// size: the largest), scaled when the file has none that size. For a cursor
// also the chosen image's hot spot. The file layouts differ only in the type
// word and in what two words of a directory entry mean, so a cursor is read
// as an icon with the type word changed.
std::optional<QImage> ReadIconImage(std::span<const std::uint8_t> bytes, int size, QPoint* hotSpot)
{
    if (bytes.size() < 22 || bytes[0] != 0 || bytes[1] != 0 || (bytes[2] != 1 && bytes[2] != 2) || bytes[3] != 0)
        return std::nullopt;
    bool cursor = bytes[2] == 2;
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    data[2] = 1;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    QImage best;
    int bestIndex = -1;
    for (int i = 0; i < std::max(reader.imageCount(), 1); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        QImage image = reader.read();
        if (image.isNull())
            continue;
        bool better = best.isNull() || (size > 0 && image.width() == size && best.width() != size) ||
                      ((size <= 0 || best.width() != size) && image.width() > best.width());
        if (better) {
            best = image;
            bestIndex = i;
        }
    }
    if (best.isNull())
        return std::nullopt;
    std::size_t entry = 6 + 16 * static_cast<std::size_t>(bestIndex);
    if (hotSpot && cursor && entry + 8 <= bytes.size())
        *hotSpot = QPoint(bytes[entry + 4] | (bytes[entry + 5] << 8), bytes[entry + 6] | (bytes[entry + 7] << 8));
    if (size > 0 && best.width() != size)
        best = best.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return best;
}

}  // namespace

HCURSOR CreateCursorFromFileData(std::span<const std::uint8_t> bytes)
{
    return RunOnWindowThread([&]() -> HCURSOR {
        QPoint hotSpot(0, 0);
        auto image = ReadIconImage(bytes, 0, &hotSpot);
        if (!image)
            return nullptr;
        QCursor cursor(QPixmap::fromImage(*image), hotSpot.x(), hotSpot.y());
        return reinterpret_cast<HCURSOR>(Add({cursor, false}));
    });
}

HICON CreateIconFromFileData(std::span<const std::uint8_t> bytes, int size)
{
    return RunOnWindowThread([&]() -> HICON {
        auto image = ReadIconImage(bytes, size, nullptr);
        if (!image)
            return nullptr;
        return reinterpret_cast<HICON>(Add({QIcon(QPixmap::fromImage(*image)), false}));
    });
}

void SetWindowCursor(HWND window, HCURSOR cursor)
{
    RunOnWindowThread([&] {
        if (QWidget* widget = WidgetOf(window)) {
            if (cursor)
                widget->setCursor(CursorOf(cursor));
            else
                widget->unsetCursor();
        }
    });
}

QCursor CursorOf(HCURSOR cursor)
{
    auto record = Lookup(cursor);
    if (record && std::holds_alternative<QCursor>(record->value))
        return std::get<QCursor>(record->value);
    return QCursor(Qt::ArrowCursor);
}

QIcon IconOf(HICON icon)
{
    auto record = Lookup(icon);
    if (record && std::holds_alternative<QIcon>(record->value))
        return std::get<QIcon>(record->value);
    return QIcon();
}

HICON MakeIconHandle(const QIcon& icon)
{
    return reinterpret_cast<HICON>(Add({icon, false}));
}

}  // namespace vellumry::ui

using namespace vellumry::ui;

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    auto id = reinterpret_cast<std::uintptr_t>(name);
    auto shape = instance == nullptr ? StandardShape(id) : std::nullopt;
    if (!shape) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    {
        auto store = Store().Lock();
        auto it = store->standardCursors.find(id);
        if (it != store->standardCursors.end())
            return reinterpret_cast<HCURSOR>(it->second);
    }
    std::uintptr_t handle = Add({QCursor(*shape), true});
    auto store = Store().Lock();
    auto [it, inserted] = store->standardCursors.emplace(id, handle);
    return reinterpret_cast<HCURSOR>(it->second);
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR previous = std::exchange(Store().Lock()->current, cursor);
    RunOnWindowThread([cursor] {
        if (QWidget* under = QApplication::widgetAt(QCursor::pos()))
            under->setCursor(CursorOf(cursor));
    });
    return previous;
}

BOOL DestroyCursor(HCURSOR cursor)
{
    return Destroy(cursor);
}

BOOL DestroyIcon(HICON icon)
{
    return Destroy(icon);
}

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    QPoint at = QCursor::pos();
    *point = {at.x(), at.y()};
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    QCursor::setPos(x, y);
    return TRUE;
}
