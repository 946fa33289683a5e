// Private to demo file access: a read-only file with positioned reads, and the local time.
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

bool LocalTime(std::time_t when, std::tm& out);

// The failure of writing a file marked read-only, in the system's words.
Failure ReadOnlyFailure();

// Refuses a plan for a demo that is not as it was scanned: another length, or (when the plan
// carries one) another last-write time.
Status CheckUnchangedSinceScan(const demo::WritePlan& plan, std::uint64_t length, std::int64_t lastWriteTime);

}  // namespace vorelix::platform
