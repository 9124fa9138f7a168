// Saving a design atomically: a failure at any step leaves the old design as it was (and
// loadable), removes the temporary file and says what failed; the new file keeps the old
// file's permission bits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Thrown.h"
#include "host/DesignFile.h"

namespace zo {
namespace {

namespace fs = std::filesystem;
using testing::Thrown;

// The real calls, except the one chosen, which fails with the chosen error.
class FailingOps : public FileOps {
public:
    enum class Step { None, Open, Chmod, ShortWrite, Write, Sync, Close, Rename, FolderSync };
    FailingOps(Step step, int err) : step_(step), err_(err) {}

    int Open(const char* path, int flags, mode_t mode) override {
        const bool folder = (flags & O_DIRECTORY) != 0;
        return Fails(Step::Open) && !folder ? Fail() : FileOps::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        // A short write: half goes to disk, then the disk is full.
        if (Fails(Step::Write) || (Fails(Step::ShortWrite) && wrote_)) return Fail();
        wrote_ = true;
        return FileOps::Write(fd, data, Fails(Step::ShortWrite) ? size / 2 : size);
    }
    int Fsync(int fd) override {
        ++syncs_;
        const bool fail =
            (Fails(Step::Sync) && syncs_ == 1) || (Fails(Step::FolderSync) && syncs_ == 2);
        return fail ? Fail() : FileOps::Fsync(fd);
    }
    int Close(int fd) override {
        const int r = FileOps::Close(fd);
        return Fails(Step::Close) && closes_++ == 0 ? Fail() : r;
    }
    int Fchmod(int fd, mode_t mode) override {
        return Fails(Step::Chmod) ? Fail() : FileOps::Fchmod(fd, mode);
    }
    int Rename(const char* from, const char* to) override {
        return Fails(Step::Rename) ? Fail() : FileOps::Rename(from, to);
    }

private:
    bool Fails(Step step) const { return step_ == step; }
    int Fail() {
        errno = err_;
        return -1;
    }
    Step step_;
    int err_;
    bool wrote_ = false;
    int syncs_ = 0, closes_ = 0;
};

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zo_atomic_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "bar.zobar";
        oldBag.WriteProperty("Caption", Variant("old"));
        oldBag.WriteProperty("GroupCount", Variant(std::int32_t{0}));
        newBag.WriteProperty("Caption", Variant(std::string(100000, 'n')));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Read() const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    int FilesInDir() const {
        return static_cast<int>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    fs::path dir, file;
    PropertyBag oldBag, newBag;
};

TEST_F(AtomicSave, AFailureAtAnyStepLeavesTheOldDesignAndNoTemporaryFile) {
    using Step = FailingOps::Step;
    struct Row {
        const char* name;
        Step step;
        int err;
        const char* says;
    };
    const Row rows[] = {
        {"no permission to create", Step::Open, EACCES, "cannot create a temporary file"},
        {"permissions refused", Step::Chmod, EPERM, "old permissions"},
        {"short write on a full disk", Step::ShortWrite, ENOSPC, "No space left on device"},
        {"write error", Step::Write, EIO, "cannot write the temporary file"},
        {"failing sync", Step::Sync, EIO, "cannot sync the temporary file"},
        {"failing close", Step::Close, EIO, "cannot close the temporary file"},
        {"failing rename", Step::Rename, EXDEV, "cannot rename"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteDesignFile(file, oldBag);
        const std::string before = Read();
        FailingOps ops(row.step, row.err);
        if (const auto e = Thrown<DesignError>([&] { WriteDesignFile(file, newBag, ops); })) {
            EXPECT_EQ(e->File(), file.string());
            EXPECT_NE(e->Message().find(row.says), std::string::npos) << e->what();
        }
        EXPECT_EQ(Read(), before);
        EXPECT_EQ(ReadDesignFile(file).bag.ReadProperty("Caption").ToText(), "old");
        EXPECT_EQ(FilesInDir(), 1);
    }
}

TEST_F(AtomicSave, AVanishedFolderAndAFailedFolderSyncAfterTheRenameAreReported) {
    auto e = Thrown<DesignError>([&] { WriteDesignFile(dir / "gone" / "bar.zobar", newBag); });
    ASSERT_TRUE(e);
    EXPECT_NE(e->Message().find("No such file or directory"), std::string::npos) << e->what();

    WriteDesignFile(file, oldBag);
    FailingOps ops(FailingOps::Step::FolderSync, EIO);
    e = Thrown<DesignError>([&] { WriteDesignFile(file, newBag, ops); });
    ASSERT_TRUE(e);
    EXPECT_NE(e->Message().find("saved, but cannot sync the folder"), std::string::npos);
    EXPECT_EQ(Read(), FormatDesign(newBag));  // the new file is in place all the same
    EXPECT_EQ(FilesInDir(), 1);
}

TEST_F(AtomicSave, TheNewFileKeepsTheOldFilesPermissionBits) {
    WriteDesignFile(file, oldBag);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteDesignFile(file, newBag);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Read(), FormatDesign(newBag));
}

}  // namespace
}  // namespace zo
