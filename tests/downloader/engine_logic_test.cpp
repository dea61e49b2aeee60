// The download engine's rules, over an in-memory server: how a file is
// split, which answers are trusted, retries, resume, and what stays on disk.
#include <gtest/gtest.h>

#include <thread>

#include "downloader/byte_span.h"
#include "downloader/download_address.h"
#include "downloader/download_engine.h"
#include "downloader/part_record.h"
#include "downloader/piece_plan.h"
#include "downloader/ranged_answer.h"
#include "platform/files.h"
#include "tests/downloader/fake_transport.h"
#include "tests/downloader/task_events.h"
#include "tests/downloader/test_content.h"
#include "tests/faulty_file_system.h"
#include "tests/test_folder.h"

namespace {
using namespace std::chrono_literals;

constexpr std::int64_t kMiB = 1 << 20;

// --- answers -------------------------------------------------------------

TEST(ContentRange, ReadsOnlyWellFormedRanges) {
  struct Case {
    const char* text;
    bool valid;
    ContentRange range;
  };
  const Case cases[] = {
      {"bytes 0-99/100", true, {0, 99, 100}},
      {"bytes 100-199/1000", true, {100, 199, 1000}},
      {"bytes 5-5/6", true, {5, 5, 6}},
      {"bytes 0-99/*", false, {}},
      {"bytes */100", false, {}},
      {"bytes 10-5/100", false, {}},       // first after last
      {"bytes 0-100/100", false, {}},      // last beyond the file
      {"bytes 0-99/100 ", false, {}},      // trailing text
      {"bits 0-99/100", false, {}},
      {"bytes -1-99/100", false, {}},
      {"bytes 0-99/99999999999999999999", false, {}},  // would overflow
      {"", false, {}},
  };
  for (const Case& c : cases) {
    std::optional<ContentRange> range = ParseContentRange(c.text);
    ASSERT_EQ(range.has_value(), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(range->first, c.range.first) << c.text;
      EXPECT_EQ(range->last, c.range.last) << c.text;
      EXPECT_EQ(range->total, c.range.total) << c.text;
    }
  }
}

TEST(RangedAnswer, AcceptsOnlyTheBytesAskedForOfTheKnownTotal) {
  auto head = [](int status, std::string range, std::int64_t length = -1) {
    ResponseHead h;
    h.status = status;
    h.contentRange = std::move(range);
    h.contentLength = length;
    return h;
  };
  struct Case {
    const char* what;
    ResponseHead head;
    AskedRange asked;
    std::int64_t knownTotal;
    AnswerVerdict verdict;
  };
  const Case cases[] = {
      {"open range answered", head(206, "bytes 0-999/1000", 1000), {0, -1, false}, -1, AnswerVerdict::Ranged},
      {"closed range answered", head(206, "bytes 500-999/1000"), {500, 999, false}, 1000, AnswerVerdict::Ranged},
      {"other start", head(206, "bytes 400-999/1000"), {500, 999, false}, 1000, AnswerVerdict::RangeMismatch},
      {"other end", head(206, "bytes 500-899/1000"), {500, 999, false}, 1000, AnswerVerdict::RangeMismatch},
      {"open range cut short", head(206, "bytes 0-499/1000"), {0, -1, false}, -1, AnswerVerdict::RangeMismatch},
      {"length disagrees", head(206, "bytes 0-999/1000", 10), {0, -1, false}, -1, AnswerVerdict::RangeMismatch},
      {"total changed", head(206, "bytes 500-999/2000"), {500, 999, false}, 1000, AnswerVerdict::TotalChanged},
      {"unreadable range", head(206, "bytes 500-999/*"), {500, 999, false}, 1000, AnswerVerdict::RangeMismatch},
      {"206 not asked for", head(206, "bytes 0-999/1000"), {}, -1, AnswerVerdict::RangeMismatch},
      {"range ignored", head(200, ""), {500, 999, false}, 1000, AnswerVerdict::WholeFile},
      {"whole file asked", head(200, ""), {}, -1, AnswerVerdict::WholeFile},
      {"If-Range failed", head(200, ""), {500, -1, true}, 1000, AnswerVerdict::FileChanged},
      {"not found", head(404, ""), {0, -1, false}, -1, AnswerVerdict::Refused},
      {"server error", head(500, ""), {}, -1, AnswerVerdict::Refused},
      {"range not satisfiable", head(416, "bytes */1000"), {2000, -1, false}, 1000, AnswerVerdict::Refused},
      {"redirect left over", head(302, ""), {}, -1, AnswerVerdict::Refused},
  };
  for (const Case& c : cases) EXPECT_EQ(JudgeAnswer(c.head, c.asked, c.knownTotal), c.verdict) << c.what;
}

TEST(RangedAnswer, OnlyAStrongTagOrADateVouchesForAFile) {
  EXPECT_EQ(ChooseValidator("\"abc\"", "Tue, 01 Jul 2025 10:00:00 GMT"), "\"abc\"");
  EXPECT_EQ(ChooseValidator("W/\"abc\"", "Tue, 01 Jul 2025 10:00:00 GMT"), "Tue, 01 Jul 2025 10:00:00 GMT");
  EXPECT_EQ(ChooseValidator("", "Tue, 01 Jul 2025 10:00:00 GMT"), "Tue, 01 Jul 2025 10:00:00 GMT");
  EXPECT_EQ(ChooseValidator("W/\"abc\"", ""), "");
}

TEST(DownloadAddress, NeedsASchemeTheEngineSpeaksAndAHost) {
  const std::pair<const char*, bool> cases[] = {
      {"http://example.com/a.spk", true},
      {"HTTPS://example.com:8443/a/b.spk", true},
      {"ftp://user:pw@127.0.0.1:2121/a.spk", true},
      {"http://127.0.0.1", true},
      {"example.com/a.spk", false},
      {"/Patch/a.spk", false},
      {"", false},
      {"gopher://example.com/a", false},
      {"http:///a.spk", false},
      {"http://:80/a.spk", false},
      {"http://user@/a.spk", false},
      {"http://example.com/a b.spk", false},
      {"http://example.com/a\r\nHost: x", false},
  };
  for (const auto& [url, valid] : cases) EXPECT_EQ(IsDownloadAddress(url), valid) << url;
}

// --- plans and records ---------------------------------------------------

TEST(PiecePlan, SplitsLargeGapsBetweenConnections) {
  struct Case {
    const char* what;
    std::vector<ByteSpan> missing;
    std::int64_t size;
    int connections;
    std::vector<ByteSpan> pieces;
  };
  const Case cases[] = {
      {"two halves", {{0, 4 * kMiB}}, 4 * kMiB, 2, {{0, 2 * kMiB}, {2 * kMiB, 4 * kMiB}}},
      {"one connection", {{0, 4 * kMiB}}, 4 * kMiB, 1, {{0, 4 * kMiB}}},
      {"small file", {{0, kMiB - 1}}, kMiB - 1, 2, {{0, kMiB - 1}}},
      {"resumed gaps kept", {{100, 200}, {2 * kMiB, 3 * kMiB}}, 3 * kMiB, 2, {{100, 200}, {2 * kMiB, 3 * kMiB}}},
      {"largest gap halved", {{0, 100}, {kMiB, 3 * kMiB}}, 3 * kMiB, 3, {{0, 100}, {kMiB, 2 * kMiB}, {2 * kMiB, 3 * kMiB}}},
      {"small remainder not cut", {{4 * kMiB - 1000, 4 * kMiB}}, 4 * kMiB, 2, {{4 * kMiB - 1000, 4 * kMiB}}},
      {"odd size", {{0, 2 * kMiB + 1}}, 2 * kMiB + 1, 2, {{0, kMiB}, {kMiB, 2 * kMiB + 1}}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlanPieces(c.missing, c.size, c.connections), c.pieces) << c.what;
}

TEST(ByteSpans, JoinAndComplementStayWithinTheFile) {
  EXPECT_EQ(JoinSpans({{50, 60}, {0, 10}, {10, 20}, {55, 70}, {80, 80}}),
            (std::vector<ByteSpan>{{0, 20}, {50, 70}}));
  EXPECT_EQ(MissingSpans({{0, 20}, {50, 70}}, 100), (std::vector<ByteSpan>{{20, 50}, {70, 100}}));
  EXPECT_EQ(MissingSpans({}, 100), (std::vector<ByteSpan>{{0, 100}}));
  EXPECT_EQ(MissingSpans({{0, 100}}, 100), std::vector<ByteSpan>{});
}

TEST(PartRecord, ReadsBackWhatItWrites) {
  const PartRecord record{3 * kMiB, "\"tag-1\"", {{0, 1000}, {kMiB, kMiB + 5}}};
  EXPECT_EQ(ParsePartRecord(FormatPartRecord(record)), record);
}

TEST(PartRecord, RefusesDamagedOrInconsistentRecords) {
  const std::string head = "pellory part 1\nsize 1000\nvalidator \"v\"\n";
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"other first line", "pellory part 2\nsize 1000\nvalidator \"v\"\n"},
      {"cut short", head.substr(0, head.size() - 1)},
      {"no validator", "pellory part 1\nsize 1000\n"},
      {"span beyond the size", head + "done 0 1001\n"},
      {"empty span", head + "done 5 5\n"},
      {"spans out of order", head + "done 500 600\ndone 0 100\n"},
      {"spans touching", head + "done 0 100\ndone 100 200\n"},
      {"negative number", head + "done -5 100\n"},
      {"number too long", "pellory part 1\nsize 1234567890123456789012\nvalidator \"v\"\n"},
      {"size twice", "pellory part 1\nsize 1000\nsize 2000\nvalidator \"v\"\n"},
      {"unknown line", head + "owner someone\n"},
      {"control byte in validator", "pellory part 1\nsize 1000\nvalidator \"v\x01\"\n"},
      {"too large", head + std::string(kPartRecordMaxBytes, '#')},
  };
  for (const auto& [what, text] : cases) EXPECT_FALSE(ParsePartRecord(text).has_value()) << what;

  std::string manySpans = head;
  for (std::size_t i = 0; i <= kPartRecordMaxSpans; ++i)
    manySpans += "done " + std::to_string(2 * i) + " " + std::to_string(2 * i + 1) + "\n";
  EXPECT_FALSE(ParsePartRecord(manySpans).has_value());
}

TEST(PartRecord, NeedsAPartFileThatHoldsTheBytesItNames) {
  TestFolder folder;
  const std::string part = folder.File("a.spk.part");
  const PartRecord record{1000, "\"v\"", {{0, 600}}};
  ASSERT_TRUE(SavePartRecord(part, record));
  EXPECT_FALSE(LoadPartRecord(part).has_value()) << "no part file";
  folder.Write("a.spk.part", std::string(500, 'x'));
  EXPECT_FALSE(LoadPartRecord(part).has_value()) << "part file shorter than the bytes called done";
  folder.Write("a.spk.part", std::string(1001, 'x'));
  EXPECT_FALSE(LoadPartRecord(part).has_value()) << "part file longer than the whole file";
  folder.Write("a.spk.part", std::string(600, 'x'));
  EXPECT_EQ(LoadPartRecord(part), record);
}

// --- the engine over the in-memory server --------------------------------

class EngineOverFakeServer : public ::testing::Test {
 protected:
  static constexpr RetryPolicy kQuickRetries{3, 10ms};

  void Serve(std::string bytes) {
    content = std::move(bytes);
    server = std::make_shared<FakeServer>(FakeServerFile{content});
    engine = CreateDownloadEngine(server, kQuickRetries);
  }

  DownloadTask Task(int connections = 2) {
    DownloadTask task;
    task.Url = "http://fake.invalid/Patch/a.spk";
    task.SavePath = folder.File("a.spk");
    task.Connections = connections;
    task.OnEvent = events.Callback();
    return task;
  }

  // Runs one task to its end; false when it was refused or never ended.
  bool Download(int connections = 2) { return engine->AddTask(Task(connections)) && events.WaitForEnd(); }

  std::vector<std::pair<std::int64_t, std::int64_t>> Ranges() {
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    for (const TransferRequest& request : server->Requests()) ranges.emplace_back(request.rangeFirst, request.rangeLast);
    return ranges;
  }

  // A connection that stops at its piece's end has been sent the rest of
  // the block in flight, as from a real server: up to one block a request.
  void ExpectSent(std::int64_t sent, std::int64_t expected) {
    EXPECT_GE(sent, expected);
    EXPECT_LT(sent, expected + Task().ReceiveBlock * static_cast<std::int64_t>(server->Requests().size()));
  }

  // The byte count once the engine has let go of the ended task: it does so
  // when the TaskEnded handler has returned, a moment after the event.
  std::int64_t BytesDoneOnceFree() {
    for (int i = 0; i < 400 && engine->BytesDone() != 0; ++i) std::this_thread::sleep_for(5ms);
    return engine->BytesDone();
  }

  // Adds a task as soon as the engine has let go of the last one: its
  // TaskEnded handler may still be returning.
  bool AddWhenFree(const DownloadTask& task) {
    for (int i = 0; i < 400; ++i) {
      if (engine->AddTask(task)) return true;
      std::this_thread::sleep_for(5ms);
    }
    return false;
  }

  std::string Saved() {
    std::vector<std::uint8_t> bytes = folder.Read("a.spk");
    return std::string(bytes.begin(), bytes.end());
  }

  // Declared first, so that they outlive the engine and its thread.
  TestFolder folder;
  TaskEvents events;
  std::string content;
  std::shared_ptr<FakeServer> server;
  std::unique_ptr<DownloadEngine> engine;
};

TEST_F(EngineOverFakeServer, TwoConnectionsShareTheFileByRanges) {
  Serve(TestContent(4 * kMiB + 3));
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  EXPECT_FALSE(folder.Has("a.spk.part"));
  EXPECT_FALSE(folder.Has("a.spk.part.meta"));
  const std::int64_t middle = (4 * kMiB + 3) / 2;
  EXPECT_EQ(Ranges(), (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, -1}, {middle, 4 * kMiB + 2}}));
  ExpectSent(server->BodyBytesSent(), static_cast<std::int64_t>(content.size()));
  const std::vector<TaskEvent> seen = events.Events();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].code, kSizeKnown);
  EXPECT_EQ(seen[0].value, 4.0 * kMiB + 3);
  EXPECT_EQ(seen[1].code, kTaskEnded);
  EXPECT_EQ(seen[1].text, "") << "a download that worked has nothing to tell";
  EXPECT_EQ(BytesDoneOnceFree(), 0) << "no task runs any more";
}

TEST_F(EngineOverFakeServer, ASmallFileComesOverOneConnection) {
  Serve(TestContent(kMiB - 1));
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  EXPECT_EQ(Ranges().size(), 1u);
}

TEST_F(EngineOverFakeServer, AnEmptyFileArrivesEmpty) {
  Serve("");
  server->ignoresRanges = true;
  ASSERT_TRUE(Download());
  EXPECT_TRUE(folder.Has("a.spk"));
  EXPECT_EQ(Saved(), "");
}

TEST_F(EngineOverFakeServer, AServerThatIgnoresRangesSendsTheWholeFileOnce) {
  Serve(TestContent(3 * kMiB));
  server->ignoresRanges = true;
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  EXPECT_EQ(Ranges().size(), 1u) << "no second connection for a server without ranges";
  EXPECT_EQ(server->BodyBytesSent(), 3 * kMiB);
}

TEST_F(EngineOverFakeServer, ATotalThatChangesLeavesTheFileToOneConnection) {
  Serve(TestContent(3 * kMiB));
  server->lieAboutTotalFrom = 1;  // the second piece's answer names another size
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  const auto ranges = Ranges();
  ASSERT_GE(ranges.size(), 3u);
  EXPECT_EQ(ranges.back(), std::make_pair(std::int64_t{-1}, std::int64_t{-1})) << "last: the whole file, no range";
  const std::vector<TaskEvent> seen = events.Events();
  EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const TaskEvent& e) { return e.code == kSizeKnown; }), 1);
}

class ServerError : public EngineOverFakeServer, public ::testing::WithParamInterface<int> {};

TEST_P(ServerError, LeavesNoFileAndNoPart) {
  Serve(TestContent(2 * kMiB));
  server->status = GetParam();
  ASSERT_TRUE(Download());
  EXPECT_FALSE(folder.Has("a.spk"));
  EXPECT_FALSE(folder.Has("a.spk.part"));
  EXPECT_FALSE(folder.Has("a.spk.part.meta"));
  EXPECT_EQ(server->Requests().size(), 1u) << "a definite answer is not asked again";
  const std::vector<TaskEvent> seen = events.Events();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].code, kTaskEnded);
  EXPECT_EQ(seen[0].text, "the server answered " + std::to_string(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Statuses, ServerError, ::testing::Values(404, 500, 403));

TEST_F(EngineOverFakeServer, ACutConnectionIsTriedAgainFromWhereItStopped) {
  Serve(TestContent(4 * kMiB));
  server->cutRequests = 2;
  server->cutAfter = 300000;
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  EXPECT_EQ(server->BodyBytesSent(), 4 * kMiB) << "no byte fetched twice";
  const auto ranges = Ranges();
  ASSERT_EQ(ranges.size(), 4u);
  EXPECT_GT(ranges[2].first, 0);
  EXPECT_NE(ranges[2].first, 2 * kMiB) << "the retry asks for the rest of its piece";
}

TEST_F(EngineOverFakeServer, ATransferThatNeverProgressesGivesUpAndKeepsThePart) {
  Serve(TestContent(4 * kMiB));
  server->cutRequests = 100;
  server->cutAfter = 0;
  ASSERT_TRUE(Download());
  EXPECT_FALSE(folder.Has("a.spk"));
  EXPECT_TRUE(folder.Has("a.spk.part"));
  EXPECT_TRUE(folder.Has("a.spk.part.meta"));
  EXPECT_LE(server->Requests().size(), 1u + 2u * (kQuickRetries.attempts + 1)) << "retries are bounded";
  EXPECT_EQ(events.Events().back().text,
            "the connection broke off (" + std::to_string(kQuickRetries.attempts + 1) + " tries)");
}

TEST_F(EngineOverFakeServer, AWholeFileCutShortIsFetchedAgainFromItsStart) {
  Serve(TestContent(2 * kMiB));
  server->ignoresRanges = true;
  server->cutRequests = 1;
  server->cutAfter = kMiB;
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  EXPECT_EQ(server->BodyBytesSent(), 3 * kMiB);
}

// A first run that the server breaks off after a million bytes.
class InterruptedDownload : public EngineOverFakeServer {
 protected:
  static constexpr std::int64_t kSentBeforeBreak = 1000000;

  void SetUp() override {
    Serve(TestContent(4 * kMiB));
    server->byteBudget = kSentBeforeBreak;
    ASSERT_TRUE(Download());
    ASSERT_FALSE(folder.Has("a.spk"));
    server->byteBudget = -1;
  }

  // Starts the second run; its events go to `again`.
  void StartAgain() {
    DownloadTask task = Task();
    task.OnEvent = again.Callback();
    ASSERT_TRUE(AddWhenFree(task));
  }

  TaskEvents again;
};

TEST_F(InterruptedDownload, ResumesWhereItStopped) {
  ASSERT_TRUE(folder.Has("a.spk.part.meta"));
  const std::optional<PartRecord> record = LoadPartRecord(folder.File("a.spk.part"));
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->validator, "\"v1\"");
  std::int64_t have = 0;
  for (const ByteSpan& span : record->done) have += span.Size();
  EXPECT_EQ(have, kSentBeforeBreak) << "every byte received is recorded, from both pieces";

  const std::int64_t sentBefore = server->BodyBytesSent();
  StartAgain();
  ASSERT_TRUE(again.WaitForEnd());
  EXPECT_EQ(Saved(), content);
  ExpectSent(server->BodyBytesSent() - sentBefore, 4 * kMiB - have);
  EXPECT_EQ(server->Requests().back().ifRange, "\"v1\"");
  EXPECT_FALSE(folder.Has("a.spk.part.meta"));
}

TEST_F(InterruptedDownload, StartsOverWhenTheFileChanged) {
  const std::string changed = TestContent(3 * kMiB, 7);
  server->Replace({changed, "\"v2\"", "Wed, 02 Jul 2025 10:00:00 GMT"});
  const std::int64_t sentBefore = server->BodyBytesSent();
  StartAgain();
  ASSERT_TRUE(again.WaitForEnd());
  EXPECT_EQ(Saved(), changed);
  ExpectSent(server->BodyBytesSent() - sentBefore, 3 * kMiB);
}

TEST_F(EngineOverFakeServer, ResumesTheGapsOfARecordWithSeveralPieces) {
  Serve(TestContent(4 * kMiB));
  std::string part(2 * kMiB + 300000, '\0');
  part.replace(0, 300000, content, 0, 300000);
  part.replace(2 * kMiB, 300000, content, 2 * kMiB, 300000);
  folder.Write("a.spk.part", part);
  ASSERT_TRUE(SavePartRecord(folder.File("a.spk.part"), {4 * kMiB, "\"v1\"", {{0, 300000}, {2 * kMiB, 2 * kMiB + 300000}}}));
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  ExpectSent(server->BodyBytesSent(), 4 * kMiB - 600000);
  EXPECT_EQ(Ranges(), (std::vector<std::pair<std::int64_t, std::int64_t>>{{300000, -1}, {2 * kMiB + 300000, 4 * kMiB - 1}}));
}

TEST_F(EngineOverFakeServer, ADamagedRecordMeansAFreshStart) {
  Serve(TestContent(2 * kMiB));
  folder.Write("a.spk.part", std::string(kMiB, 'x'));
  folder.Write("a.spk.part.meta", "pellory part 1\nsize 2097152\nvalidator \"v1\"\ndone 0 99999999\n");
  ASSERT_TRUE(Download());
  EXPECT_EQ(Saved(), content);
  EXPECT_EQ(server->Requests().front().ifRange, "");
}

TEST_F(EngineOverFakeServer, AFolderThatIsMissingEndsTheTaskWithoutAFile) {
  Serve(TestContent(2 * kMiB));
  DownloadTask task = Task();
  task.SavePath = folder.File("lst_File/a.lst");
  ASSERT_TRUE(engine->AddTask(task));
  ASSERT_TRUE(events.WaitForEnd());
  EXPECT_FALSE(FolderExists(folder.File("lst_File")));
  EXPECT_TRUE(server->Requests().empty()) << "no request for a file that can't be stored";
  EXPECT_EQ(events.Events().back().text,
            "could not create " + folder.File("lst_File/a.lst.part") + ": no such file or folder");
}

TEST_F(EngineOverFakeServer, ADiskThatFillsUpEndsTheTaskWithoutAFileAndSaysSo) {
  Serve(TestContent(2 * kMiB));
  FaultyFileSystem faults;
  faults.FillDiskAfter(kMiB, folder.Path());
  ScopedFileSystem use(faults);
  ASSERT_TRUE(Download());
  EXPECT_FALSE(folder.Has("a.spk"));
  EXPECT_EQ(events.Events().back().text, "could not write " + folder.File("a.spk.part") + ": disk full");
}

TEST_F(EngineOverFakeServer, RefusesAddressesItCannotFetchAndASecondTask) {
  Serve(TestContent(2 * kMiB));
  server->stallBody = true;
  DownloadTask task = Task();
  task.Url = "fake.invalid/a.spk";
  EXPECT_FALSE(engine->AddTask(task));
  task.Url = "mailto://fake.invalid/a.spk";
  EXPECT_FALSE(engine->AddTask(task));
  ASSERT_TRUE(engine->AddTask(Task()));
  EXPECT_FALSE(engine->AddTask(Task())) << "the engine holds a task";
  engine->Destroy();
  EXPECT_FALSE(engine->AddTask(Task())) << "a destroyed engine takes nothing";
}

TEST_F(EngineOverFakeServer, ATaskAddedFromTheEndHandlerIsRefusedButOneAfterItIsTaken) {
  Serve(TestContent(1000));
  std::atomic<int> addedInside{-1};
  TaskEvents done;
  DownloadTask task = Task();
  task.OnEvent = [&](int code, double, const std::string&) {
    if (code == kTaskEnded) addedInside = engine->AddTask(Task()) ? 1 : 0;
    return done.Callback()(code, 0, "");
  };
  ASSERT_TRUE(engine->AddTask(task));
  ASSERT_TRUE(done.WaitForEnd());
  ASSERT_TRUE(AddWhenFree(Task()));
  ASSERT_TRUE(events.WaitForEnd()) << "a task added after the handler returned runs";
  EXPECT_EQ(addedInside, 0);
  EXPECT_EQ(Saved(), content);
}

TEST_F(EngineOverFakeServer, DestroyStopsARunningTaskWithoutTaskEnded) {
  Serve(TestContent(4 * kMiB));
  server->stallBody = true;
  ASSERT_TRUE(engine->AddTask(Task()));
  for (int i = 0; i < 400 && server->Requests().size() < 2; ++i) std::this_thread::sleep_for(5ms);
  ASSERT_EQ(server->Requests().size(), 2u);
  engine->Destroy();
  EXPECT_FALSE(folder.Has("a.spk"));
  EXPECT_TRUE(folder.Has("a.spk.part")) << "kept for a resume";
  const std::vector<TaskEvent> seen = events.Events();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].code, kSizeKnown);
  EXPECT_EQ(engine->BytesDone(), 0);
}

TEST_F(InterruptedDownload, BytesDoneCountsThePartFileWhileTheTaskRuns) {
  server->stallBody = true;
  StartAgain();
  for (int i = 0; i < 400 && engine->BytesDone() == 0; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(engine->BytesDone(), kSentBeforeBreak);
  engine->Destroy();
  EXPECT_TRUE(again.Events().empty() || again.Events().back().code != kTaskEnded);
}
}  // namespace
