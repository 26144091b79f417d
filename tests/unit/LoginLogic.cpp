#include "ui/Logindisk/LoginLogic.h"

#include <gtest/gtest.h>

#include "app/CurrentDevice.h"
#include "ui/Mountform/FolderListLogic.h"

namespace {

struct Recorded {
    int fetches = 0;
    int sleeps = 0;
    int sleptMs = 0;
    std::string host, user, password, path;
};

// Answers every fetch the same way and counts what the login did.
LoginSeams Scripted(Recorded& recorded, PageResponse answer)
{
    LoginSeams seams;
    seams.fetch = [&recorded, answer](const std::string& host, const std::string& user, const std::string& password,
                                      const std::string& path) {
        ++recorded.fetches;
        recorded.host = host;
        recorded.user = user;
        recorded.password = password;
        recorded.path = path;
        return answer;
    };
    seams.sleep = [&recorded](int ms) {
        ++recorded.sleeps;
        recorded.sleptMs += ms;
    };
    return seams;
}

PageResponse Answer(int status, std::string body) { return {"HTTP/1.1 header\r\n\r\n", std::move(body), status}; }

struct LoginCase {
    const char* name;
    PageResponse answer;
    LoginResult tryResult;
    LoginResult runResult;
    int fetchesPerRun;
};

class LoginOutcome : public ::testing::TestWithParam<LoginCase> {};

TEST_P(LoginOutcome, ClassifiesAndRetriesAsAUserWouldSee)
{
    const LoginCase& c = GetParam();
    CurrentDevice.Address = "192.168.1.20";

    Recorded single;
    EXPECT_EQ(TryLogin("admin", "pw", Scripted(single, c.answer)), c.tryResult);

    Recorded run;
    EXPECT_EQ(RunLogin("admin", "pw", Scripted(run, c.answer)), c.runResult);
    EXPECT_EQ(run.fetches, c.fetchesPerRun);
    // One 20 ms pause before every fetch, the first one included.
    EXPECT_EQ(run.sleeps, run.fetches);
    EXPECT_EQ(run.sleptMs, 20 * run.fetches);
    EXPECT_EQ(run.host, "192.168.1.20");
    EXPECT_EQ(run.path, "/utility_use.htm");
}

INSTANTIATE_TEST_SUITE_P(
    AnswerShapes, LoginOutcome,
    ::testing::Values(
        LoginCase{"Accepted", Answer(200, "<HTML>status</HTML>"), LoginResult::Success, LoginResult::Success, 1},
        // Each refused try is one fetch; the refusal is tried 8 times before it is believed.
        LoginCase{"RefusedWithPage", Answer(401, "<HTML>401</HTML>"), LoginResult::BadCredentials,
                  LoginResult::BadCredentials, 8},
        // A 401 without a page is no answer at all: 8 fetches in one try, then no more tries.
        LoginCase{"RefusedWithoutPage", Answer(0, ""), LoginResult::NoAnswer, LoginResult::NoAnswer, 8},
        LoginCase{"ServerError", Answer(500, "<HTML>500</HTML>"), LoginResult::OtherStatus,
                  LoginResult::OtherStatus, 8},
        LoginCase{"NoStatusLine", Answer(1, "<HTML>garbled"), LoginResult::OtherStatus, LoginResult::OtherStatus, 8},
        LoginCase{"Silent", PageResponse{}, LoginResult::NoAnswer, LoginResult::NoAnswer, 8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TryLogin, StopsAtTheFirstAnswerAfterSilence)
{
    int fetches = 0;
    LoginSeams seams;
    seams.sleep = [](int) {};
    seams.fetch = [&](const std::string&, const std::string&, const std::string&, const std::string&) {
        return ++fetches < 3 ? PageResponse{} : Answer(200, "<HTML>ok</HTML>");
    };
    EXPECT_EQ(RunLogin("admin", "admin", seams), LoginResult::Success);
    EXPECT_EQ(fetches, 3);
}

TEST(TryLogin, AStatusWithoutBodyEndsTheFetchesButCountsAsNoAnswer)
{
    Recorded recorded;
    EXPECT_EQ(TryLogin("admin", "x", Scripted(recorded, Answer(401, ""))), LoginResult::NoAnswer);
    EXPECT_EQ(recorded.fetches, 1);
}

TEST(TryLogin, StoresTheTypedTextsUnchangedEvenWhenRefused)
{
    Recorded recorded;
    TryLogin(" admin ", "", Scripted(recorded, Answer(401, "<HTML>401</HTML>")));
    EXPECT_EQ(CurrentDevice.UserName, " admin ");
    EXPECT_EQ(CurrentDevice.Password, "");
    EXPECT_EQ(recorded.user, " admin ");
    EXPECT_EQ(recorded.password, "");
}

std::string PageWithPublicFolders(const std::string& options)
{
    return "<HTML>\r\nvar share_list=\"<option value=\"x\">x</option>\";\r\nvar allow_share=\"" + options +
           "\";\r\nvar host_name=\"NAS\";\r\n</HTML>";
}

TEST(FolderList, TakesThePublicFoldersInOrder)
{
    int reads = 0;
    FolderListLogic list;
    list.Fill({"stale"});
    FillFolderList(list, [&] {
        ++reads;
        return PageWithPublicFolders("<option value=\"public\">public</option><option value=\"data\">data</option>");
    });
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"public", "data"}));
    EXPECT_EQ(list.Generation(), 2);
}

TEST(FolderList, RereadsAnEmptyPageAtMostEightTimes)
{
    int reads = 0;
    FolderListLogic list;
    list.Fill({"stale"});
    FillFolderList(list, [&] {
        ++reads;
        return std::string();
    });
    EXPECT_EQ(reads, 8);
    EXPECT_TRUE(list.Entries().empty());

    reads = 0;
    const auto names = ReadPublicFolders([&] {
        return ++reads < 4 ? std::string() : PageWithPublicFolders("<option value=\"pub\">pub</option>");
    });
    EXPECT_EQ(reads, 4);
    EXPECT_EQ(names, (std::vector<std::string>{"pub"}));
}

TEST(FolderList, AValueWithoutNamesLeavesTheListEmpty)
{
    EXPECT_TRUE(ReadPublicFolders([] { return PageWithPublicFolders("none shared"); }).empty());
    // A refusal page has no such setting at all.
    EXPECT_TRUE(ReadPublicFolders([] { return std::string("<HTML>401 Unauthorized</HTML>"); }).empty());
}

} // namespace
