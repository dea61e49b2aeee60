// The download engine with the platform's own transport (libcurl on Linux,
// WinINet on Windows) against real servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "downloader/download_engine.h"
#include "downloader/part_record.h"
#include "platform/download_transport.h"
#include "platform/files.h"
#include "tests/downloader/loopback_servers.h"
#include "tests/downloader/task_events.h"
#include "tests/downloader/test_content.h"
#include "tests/test_folder.h"

namespace {
using namespace std::chrono_literals;

constexpr std::int64_t kMiB = 1 << 20;

// "bytes=FIRST-..." gives FIRST; no range, 0.
std::int64_t FirstByteAsked(const std::string& range) {
  return range.rfind("bytes=", 0) == 0 ? std::atoll(range.c_str() + 6) : 0;
}

class EngineOverLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    servers = TestServers();
    ASSERT_NE(servers, nullptr);
    name = ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string(".spk");
  }

  // Serves a file of `size` bytes under this test's name.
  void ServeFile(std::size_t size, unsigned seed = 1) {
    content = TestContent(size, seed);
    servers->Serve(name, content);
  }

  DownloadTask Task(const std::string& url, int connections = 2) {
    DownloadTask task;
    task.Url = url;
    task.SavePath = folder.File(name);
    task.Connections = connections;
    task.ConnectTimeout = 5000;
    task.SendTimeout = 5001;
    task.ReceiveTimeout = 10000;
    task.ReceiveBlock = 10240;
    task.OnEvent = events.Callback();
    return task;
  }

  bool Download(const DownloadTask& task) { return engine->AddTask(task) && events.WaitForEnd(); }

  // Starts another task once the engine has let go of the last one.
  bool DownloadAgain(DownloadTask task, TaskEvents& again) {
    task.OnEvent = again.Callback();
    for (int i = 0; i < 400; ++i) {
      if (engine->AddTask(task)) return again.WaitForEnd();
      std::this_thread::sleep_for(5ms);
    }
    return false;
  }

  bool SavedWhole() {
    const std::vector<std::uint8_t> bytes = folder.Read(name);
    return folder.Has(name) && std::string(bytes.begin(), bytes.end()) == content;
  }

  bool Has(const std::string& suffix) { return folder.Has(name + suffix); }

  double ReportedSize() {
    for (const TaskEvent& event : events.Events())
      if (event.code == kSizeKnown) return event.value;
    return -1;
  }

  // Declared before the engine, so that they outlive it and its thread.
  TestFolder folder;
  TaskEvents events;
  const LoopbackServers* servers = nullptr;
  std::string name;
  std::string content;
  std::unique_ptr<DownloadEngine> engine = CreateDownloadEngine(CreateDownloadTransport());
};

TEST_F(EngineOverLoopback, OneConnectionFetchesTheWholeFile) {
  ServeFile(3 * kMiB + 17);
  ASSERT_TRUE(Download(Task(servers->NginxUrl("/files/" + name), 1)));
  EXPECT_TRUE(SavedWhole());
  EXPECT_FALSE(Has(".part"));
  EXPECT_FALSE(Has(".part.meta"));
  EXPECT_EQ(ReportedSize(), 3.0 * kMiB + 17);
  ASSERT_EQ(events.Events().back().code, kTaskEnded);
}

TEST_F(EngineOverLoopback, TwoConnectionsFetchTheTwoHalvesByRanges) {
  ServeFile(8 * kMiB + 1);
  ASSERT_TRUE(Download(Task(servers->NginxUrl("/files/" + name))));
  EXPECT_TRUE(SavedWhole());
  std::vector<std::string> ranges;
  for (const auto& answer : servers->NginxAnswers("/files/" + name)) {
    ranges.push_back(answer.range);
    EXPECT_EQ(answer.status, 206);
  }
  std::sort(ranges.begin(), ranges.end());
  EXPECT_EQ(ranges, (std::vector<std::string>{"bytes=0-", "bytes=4194304-8388608"}));
}

TEST_F(EngineOverLoopback, AServerThatIgnoresRangesIsAskedOnce) {
  ServeFile(3 * kMiB);
  ASSERT_TRUE(Download(Task(servers->NginxUrl("/noranges/" + name))));
  EXPECT_TRUE(SavedWhole());
  const auto answers = servers->NginxAnswers("/noranges/" + name);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].status, 200);
}

TEST_F(EngineOverLoopback, ATotalThatChangesLeavesTheFileToOneWholeRequest) {
  ServeFile(3 * kMiB);
  ASSERT_TRUE(Download(Task(servers->FaultyUrl("/lying-total/" + name))));
  EXPECT_TRUE(SavedWhole());
  const auto answers = servers->FaultyAnswers("/lying-total/" + name);
  ASSERT_GE(answers.size(), 3u);
  EXPECT_EQ(answers.back().range, "-");
  EXPECT_EQ(answers.back().status, 200);
  EXPECT_EQ(ReportedSize(), 3.0 * kMiB);
}

TEST_F(EngineOverLoopback, ServerErrorsLeaveNoFileAndNoPart) {
  for (const std::string& url : {servers->NginxUrl("/files/missing-" + name), servers->FaultyUrl("/status/500"),
                                 servers->FaultyUrl("/status/404")}) {
    TaskEvents ended;
    DownloadTask task = Task(url);
    ASSERT_TRUE(DownloadAgain(task, ended)) << url;
    EXPECT_FALSE(Has("")) << url;
    EXPECT_FALSE(Has(".part")) << url;
    EXPECT_FALSE(Has(".part.meta")) << url;
    ASSERT_EQ(ended.Events().size(), 1u) << url;
  }
  EXPECT_EQ(servers->FaultyAnswers("/status/500").size(), 1u) << "a definite answer is not asked again";
}

TEST_F(EngineOverLoopback, ACutConnectionIsRetriedFromWhereItBroke) {
  ServeFile(3 * kMiB);
  const std::string path = "/cut/1/" + name;
  ASSERT_TRUE(Download(Task(servers->FaultyUrl(path), 1)));
  EXPECT_TRUE(SavedWhole());
  const auto answers = servers->FaultyAnswers(path);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].bytes, 3 * kMiB / 2) << "the first answer broke off halfway";
  EXPECT_EQ(answers[1].range, "bytes=1572864-3145727");
}

TEST_F(EngineOverLoopback, ACutBeyondTheRetriesLeavesOnlyThePartForAResume) {
  ServeFile(3 * kMiB);
  ASSERT_TRUE(Download(Task(servers->FaultyUrl("/break-at-half/" + name), 1)));
  EXPECT_FALSE(Has(""));
  EXPECT_TRUE(Has(".part"));
  const std::optional<PartRecord> record = LoadPartRecord(folder.File(name + ".part"));
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->done, (std::vector<ByteSpan>{{0, 3 * kMiB / 2}}));
  EXPECT_EQ(servers->FaultyAnswers("/break-at-half/" + name).size(), 5u) << "one try and three retries... and no more";
}

TEST_F(EngineOverLoopback, AnInterruptedDownloadResumesWithTheSameFile) {
  ServeFile(3 * kMiB);
  ASSERT_TRUE(Download(Task(servers->FaultyUrl("/break-at-half/" + name))));
  ASSERT_TRUE(Has(".part.meta"));
  TaskEvents again;
  ASSERT_TRUE(DownloadAgain(Task(servers->FaultyUrl("/file/" + name)), again));
  EXPECT_TRUE(SavedWhole());
  EXPECT_FALSE(Has(".part.meta"));
  // The server may push more than was asked into the socket before a
  // connection closes, so the ranges asked for tell what travelled.
  const auto answers = servers->FaultyAnswers("/file/" + name);
  ASSERT_FALSE(answers.empty());
  for (const auto& answer : answers) {
    EXPECT_EQ(answer.status, 206);
    EXPECT_GE(FirstByteAsked(answer.range), 3 * kMiB / 2) << answer.range;
  }
}

TEST_F(EngineOverLoopback, AChangedFileIsFetchedAnew) {
  ServeFile(3 * kMiB);
  ASSERT_TRUE(Download(Task(servers->FaultyUrl("/break-at-half/" + name))));
  ASSERT_TRUE(Has(".part.meta"));
  ServeFile(2 * kMiB + 5, 2);
  TaskEvents again;
  ASSERT_TRUE(DownloadAgain(Task(servers->FaultyUrl("/file/" + name)), again));
  EXPECT_TRUE(SavedWhole());
  const auto answers = servers->FaultyAnswers("/file/" + name);
  ASSERT_FALSE(answers.empty());
  EXPECT_EQ(answers.front().status, 200) << "If-Range no longer held";
}

TEST_F(EngineOverLoopback, ResumesFromNginxAfterTheProgramStoppedMidway) {
  ServeFile(4 * kMiB);
  ASSERT_TRUE(engine->AddTask(Task(servers->NginxUrl("/slow/" + name))));
  // Until the record beside the part file names bytes on disk.
  auto recorded = [&] {
    const std::optional<PartRecord> record = LoadPartRecord(folder.File(name + ".part"));
    return record && !record->done.empty();
  };
  for (int i = 0; i < 500 && !recorded(); ++i) std::this_thread::sleep_for(10ms);
  engine->Destroy();
  const std::optional<PartRecord> record = LoadPartRecord(folder.File(name + ".part"));
  ASSERT_TRUE(record.has_value());
  ASSERT_FALSE(record->done.empty());
  engine = CreateDownloadEngine(CreateDownloadTransport());
  TaskEvents again;
  ASSERT_TRUE(DownloadAgain(Task(servers->NginxUrl("/files/" + name)), again));
  EXPECT_TRUE(SavedWhole());
  const auto answers = servers->NginxAnswers("/files/" + name);
  ASSERT_FALSE(answers.empty());
  for (const auto& answer : answers) {
    EXPECT_EQ(answer.status, 206);
    const std::int64_t first = FirstByteAsked(answer.range);
    for (const ByteSpan& have : record->done)
      EXPECT_FALSE(first >= have.first && first < have.end) << answer.range << " asks again for bytes on hand";
  }
}

TEST_F(EngineOverLoopback, FtpFetchesTheWholeFile) {
  ServeFile(3 * kMiB + 3);
  ASSERT_TRUE(Download(Task(servers->FtpUrl(name))));
  EXPECT_TRUE(SavedWhole());
  EXPECT_EQ(ReportedSize(), 3.0 * kMiB + 3);
}

TEST_F(EngineOverLoopback, FtpReportsAMissingFile) {
  ASSERT_TRUE(Download(Task(servers->FtpUrl("missing-" + name))));
  EXPECT_FALSE(Has(""));
  EXPECT_FALSE(Has(".part"));
}

TEST_F(EngineOverLoopback, RefusesAnAddressWithoutSchemeAndASecondTask) {
  ServeFile(4 * kMiB);
  EXPECT_FALSE(engine->AddTask(Task("127.0.0.1/files/" + name)));
  ASSERT_TRUE(engine->AddTask(Task(servers->NginxUrl("/slow/" + name))));
  EXPECT_FALSE(engine->AddTask(Task(servers->NginxUrl("/files/" + name))));
  engine->Destroy();
}

TEST_F(EngineOverLoopback, DestroyStopsARunningDownloadWithoutTaskEnded) {
  ServeFile(4 * kMiB);
  ASSERT_TRUE(engine->AddTask(Task(servers->NginxUrl("/slow/" + name))));
  for (int i = 0; i < 400 && engine->CurrentSpeed() == 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_GT(engine->CurrentSpeed(), 0);
  EXPECT_GT(engine->BytesDone(), 0);
  engine->Destroy();
  EXPECT_FALSE(Has(""));
  EXPECT_TRUE(Has(".part"));
  const std::vector<TaskEvent> seen = events.Events();
  EXPECT_TRUE(std::none_of(seen.begin(), seen.end(), [](const TaskEvent& e) { return e.code == kTaskEnded; }));
}

TEST_F(EngineOverLoopback, ASilentServerTimesOut) {
  ServeFile(kMiB / 2);
  DownloadTask task = Task(servers->FaultyUrl("/stall/" + name));
  task.ReceiveTimeout = 300;
  ASSERT_TRUE(Download(task));
  EXPECT_FALSE(Has(""));
}
}  // namespace
