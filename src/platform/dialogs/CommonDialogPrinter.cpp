// The print dialog of CommonDialog: it starts on the remembered printer and remembers the chosen one.
#include <cstddef>
#include <cstring>

#include "platform/dialogs/CommonDialog.h"
#include "platform/dialogs/CommonDialogBuffers.h"

namespace vorelix::platform {

namespace {

// The print dialog's part of flags: PD_SELECTION up to PD_SHOWHELP, PD_USEDEVMODECOPIESANDCOLLATE,
// PD_DISABLEPRINTTOFILE and PD_HIDEPRINTTOFILE. The hook and template bits (0x1000 to 0x20000), which
// the class cannot supply, never pass.
constexpr DWORD kPrintFlags = 0x1C0FFF;

// A movable memory block locked for as long as this lives.
template <typename T>
class LockedBlock {
  public:
    explicit LockedBlock(HGLOBAL block)
        : block_(block), data_(block != nullptr ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
    ~LockedBlock() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;

    T* get() const { return data_; }
    // Bytes in the block, so that reads stay inside what the dialog handed back.
    std::size_t size() const { return data_ != nullptr ? GlobalSize(block_) : 0; }

  private:
    HGLOBAL block_;
    T* data_;
};

// The device-names block of a printer: no driver, the device name, no port.
HGLOBAL MakeDeviceNames(const std::wstring& deviceName) {
    constexpr std::size_t kHeader = sizeof(DEVNAMES) / sizeof(wchar_t);
    const std::size_t units = kHeader + 1 + deviceName.size() + 1 + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, units * sizeof(wchar_t));
    LockedBlock<DEVNAMES> names(block);
    if (names.get() == nullptr) return block;
    names.get()->wDriverOffset = static_cast<WORD>(kHeader);
    names.get()->wDeviceOffset = static_cast<WORD>(kHeader + 1);
    names.get()->wOutputOffset = static_cast<WORD>(kHeader + 1 + deviceName.size() + 1);
    deviceName.copy(reinterpret_cast<wchar_t*>(names.get()) + kHeader + 1, deviceName.size());
    return block;
}

// The device mode that asks for the remembered orientation, duplex and copies.
HGLOBAL MakeDeviceMode(const PrinterSettings& printer) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    LockedBlock<DEVMODEW> mode(block);
    if (mode.get() == nullptr) return block;
    DEVMODEW& m = *mode.get();
    m.dmSize = sizeof(DEVMODEW);
    m.dmSpecVersion = DM_SPECVERSION;
    printer.deviceName.copy(m.dmDeviceName, CCHDEVICENAME - 1);
    if (printer.orientation != 0) {
        m.dmFields |= DM_ORIENTATION;
        m.dmOrientation = printer.orientation;
    }
    if (printer.duplex != 0) {
        m.dmFields |= DM_DUPLEX;
        m.dmDuplex = printer.duplex;
    }
    if (printer.copies != 0) {
        m.dmFields |= DM_COPIES;
        m.dmCopies = printer.copies;
    }
    return block;
}

// What the confirmed dialog chose, read within the blocks it returned.
void ReadChosenPrinter(const PRINTDLGW& record, PrinterSettings& printer) {
    printer.copies = static_cast<short>(record.nCopies);
    const LockedBlock<DEVNAMES> names(record.hDevNames);
    const std::size_t nameUnits = names.size() / sizeof(wchar_t);
    if (names.size() >= sizeof(DEVNAMES) && names.get()->wDeviceOffset < nameUnits) {
        const wchar_t* text = reinterpret_cast<const wchar_t*>(names.get());
        const std::size_t offset = names.get()->wDeviceOffset;
        if (auto device = dialog_detail::UpToFirstNul(text + offset, nameUnits - offset)) {
            printer.deviceName = *device;
        }
    }
    const LockedBlock<DEVMODEW> mode(record.hDevMode);
    if (mode.size() < offsetof(DEVMODEW, dmDuplex) + sizeof(short)) return;
    const DEVMODEW& m = *mode.get();
    if (m.dmFields & DM_ORIENTATION) printer.orientation = m.dmOrientation;
    if (m.dmFields & DM_DUPLEX) printer.duplex = m.dmDuplex;
    // Which of the two counts holds the copies depends on whether the driver makes them itself.
    if ((m.dmFields & DM_COPIES) && m.dmCopies > printer.copies) printer.copies = m.dmCopies;
}

}  // namespace

std::optional<DialogError> CommonDialog::ShowPrinter() {
    PRINTDLGW record{};
    record.lStructSize = sizeof(PRINTDLGW);
    record.hwndOwner = owner;
    record.hInstance = GetModuleHandleW(nullptr);
    record.Flags = flags & kPrintFlags;
    record.nCopies = static_cast<WORD>(printer.copies > 0 ? printer.copies : 1);
    // Without blocks the dialog starts on the system's default printer.
    if (!printer.deviceName.empty()) {
        record.hDevNames = MakeDeviceNames(printer.deviceName);
        record.hDevMode = MakeDeviceMode(printer);
    }

    const bool confirmed = calls_.printDialog(record) > 0;
    if (confirmed) ReadChosenPrinter(record, printer);
    // The blocks are ours whether the dialog kept, replaced or returned them, and a device context it
    // made for the printer is released here: it is not a window to own later dialogs.
    if (record.hDC != nullptr) DeleteDC(record.hDC);
    if (record.hDevMode != nullptr) GlobalFree(record.hDevMode);
    if (record.hDevNames != nullptr) GlobalFree(record.hDevNames);
    return confirmed ? std::nullopt : Cancelled(L"ShowPrinter");
}

}  // namespace vorelix::platform
