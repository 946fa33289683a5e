// Files on both systems: the one type that owns an open file, its read-only mapped view, copying
// without replacing, and how the program joins a folder and a name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "demo/edit/ByteSearch.h"
#include "demo/Result.h"

namespace vorelix::platform {

// An open file: a descriptor on POSIX, a handle on Windows. Reads and writes name their offset
// (64-bit on both systems), so no call depends on where an earlier one left off.
class File {
  public:
    // Shares the file with every reader and writer, so a demo the game has open can still be read.
    // With `othersMayWrite` false nobody may open it for writing meanwhile (Windows): a copy onto its
    // own source then fails instead of emptying it.
    static Result<File> OpenForReading(const std::filesystem::path& path, bool othersMayWrite = true);
    // An existing file for positioned writes: never created, truncated or extended by opening. Others
    // may read meanwhile, nobody else may write (Windows). A file marked read-only is refused even
    // where the system would let the write through (root, Wine).
    static Result<File> OpenForWriting(const std::filesystem::path& path);
    // A new file that nobody shares until it is closed. A name that is taken (by any file, the source
    // of a copy included) is refused, never replaced.
    static Result<File> CreateNew(const std::filesystem::path& path);
    // Creates the file, or empties the one of that name.
    static Result<File> CreateReplacing(const std::filesystem::path& path);
    // A file held by this process alone, for reading and writing: while it is open another
    // OpenHeld of it fails (IsHeldElsewhere), yet it may be deleted. CreateHeld refuses a taken name.
    static Result<File> CreateHeld(const std::filesystem::path& path);
    static Result<File> OpenHeld(const std::filesystem::path& path);

    File() = default;
    // Takes over a descriptor (POSIX) or handle (Windows) that the caller opened.
    explicit File(std::intptr_t handle) : handle_(handle) {}
    File(File&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // A folder or another non-regular file is refused.
    Result<std::uint64_t> Length() const;
    // In the system's own units; only compared with another time of the same system.
    Result<std::int64_t> LastWriteTime() const;
    // Fills all of `buffer` from `offset`; a file that ends first is a failure.
    Status ReadAt(std::uint64_t offset, std::string& buffer) const;
    Status WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    Status Flush();
    // Sets the last-write time, in the units LastWriteTime gives.
    Status SetLastWriteTime(std::int64_t time);
    // Closes now, reporting what the system says: a late write error may only show here.
    Status Close();

  private:
    static constexpr std::intptr_t kNone = -1;  // INVALID_HANDLE_VALUE is -1 too
    friend class MappedDemo;
    friend Status KeepModeOf(const File& source, File& copy);

    std::intptr_t handle_ = kNone;
};

// A whole demo as read-only bytes, memory-mapped so no scan copies the file onto the heap. A 0-byte
// file has no mapping and an empty view. On Windows the file stays open (shared for reading, writing
// and deleting) while the view lives.
class MappedDemo : public demo::ScanProgress {
  public:
    static Result<MappedDemo> Open(const std::filesystem::path& path);

    MappedDemo(MappedDemo&& other) noexcept { *this = std::move(other); }
    MappedDemo& operator=(MappedDemo&& other) noexcept {
        if (this != &other) {
            Release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            file_ = std::move(other.file_);
            mapping_ = std::exchange(other.mapping_, 0);
            released_ = other.released_;
            lastWriteTime_ = other.lastWriteTime_;
        }
        return *this;
    }
    MappedDemo(const MappedDemo&) = delete;
    MappedDemo& operator=(const MappedDemo&) = delete;
    ~MappedDemo() { Release(); }

    demo::ByteView Bytes() const { return {data_, size_}; }
    std::uint64_t Size() const { return size_; }
    // The file's last-write time when it was opened: a plan made from these bytes carries it
    // (WritePlan::lastWriteTime), so the demo is not written if it changed in between.
    std::int64_t LastWriteTime() const { return lastWriteTime_; }

    // Pass the view itself to the whole-file scans: the pages they have passed are let go in steps
    // of a few megabytes, so scanning a large demo does not keep all of it resident. Bytes let go
    // are read in again from the file if they are looked at later.
    void Passed(std::size_t offset) override;

  private:
    MappedDemo() = default;
    // Maps `file`, `length` bytes long (more than 0), and keeps what the view needs: one per system.
    Status Map(File file, std::uint64_t length);
    void Release();

    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    File file_;
    std::intptr_t mapping_ = 0;  // the mapping's handle on Windows
    std::size_t released_ = 0;   // pages below this offset were let go
    std::int64_t lastWriteTime_ = 0;
};

// Gives `to` the name `from` has, as one step of the file system. Without `replace` a file of that
// name is never replaced: the failure then is the system's "exists" (see IsNameTaken).
Status RenameFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace);
// Whether a failure says another process holds the file (OpenHeld).
bool IsHeldElsewhere(const Failure& failure);
// Whether a failure says the name is taken by another file, and that failure in the system's words.
bool IsNameTaken(const Failure& failure);
Failure NameTakenFailure();
// Makes the names given in `folder` lasting (POSIX; Windows does this with the rename itself).
void FlushFolder(const std::filesystem::path& folder);
// The permission bits of `source` on `copy` (POSIX; Windows keeps none).
Status KeepModeOf(const File& source, File& copy);
// This process's id: temporary names carry it, so two processes never pick the same one.
std::uint32_t CurrentProcessId();

// A folder and a name joined as the demo list joins them: a folder of 3 characters or fewer (a
// drive root such as "C:\") is followed directly by the name, any other by "\" and the name.
inline std::wstring JoinFolderAndName(const std::wstring& folder, const std::wstring& name) {
    if (folder.size() <= 3) return folder + name;
    return folder + L"\\" + name;
}

}  // namespace vorelix::platform
