// Private to demo file access: a read-only file with positioned reads, a demo open for in-place
// writes, and the local time.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

#include "demo/Result.h"
#include "demo/WritePlan.h"

namespace vorelix::platform {

class ReadOnlyFile {
  public:
    static Result<ReadOnlyFile> Open(const std::filesystem::path& path);
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(ReadOnlyFile&&) = delete;
    ~ReadOnlyFile();

    Result<std::uint64_t> Length() const;
    // Fills all of `buffer` from `offset`; a file that ends first is a failure.
    Status ReadAt(std::uint64_t offset, std::string& buffer) const;

  private:
    explicit ReadOnlyFile(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

// A demo opened for positioned writes: never created, truncated or extended. A file marked
// read-only is refused even where the system would let the write through (root, Wine).
class DemoWriter {
  public:
    static Result<DemoWriter> OpenExisting(const std::filesystem::path& path);
    DemoWriter(DemoWriter&& other) noexcept;
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;
    DemoWriter& operator=(DemoWriter&&) = delete;
    ~DemoWriter();

    Result<std::uint64_t> Length() const;
    // In the units MappedDemo::LastWriteTime gives.
    Result<std::int64_t> LastWriteTime() const;
    Status WriteAt(std::uint64_t offset, const std::string& bytes);
    // Closes now, reporting what the system says: a late write error may only show here.
    Status Close();

  private:
    explicit DemoWriter(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

bool LocalTime(std::time_t when, std::tm& out);

// Refuses a plan for a demo that is not as it was scanned: another length, or (when the plan
// carries one) another last-write time.
Status CheckUnchangedSinceScan(const demo::WritePlan& plan, std::uint64_t length, std::int64_t lastWriteTime);

}  // namespace vorelix::platform
