#include "ui/Menuform/MaintenanceTabLogic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

using namespace MaintenanceTabLogic;

TEST(ClassifyUploadOutcome, ReadsTheAnswer)
{
    struct Case {
        UploadOutcome outcome;
        UploadVerdict verdict;
    };
    const Case cases[] = {
        {{true, "HTTP/1.0 200 OK"}, UploadVerdict::NoVerdict},
        {{true, "HTTP/1.0 302 Found"}, UploadVerdict::NoVerdict}, // success wins over its text
        {{false, "HTTP/1.0 302 Found"}, UploadVerdict::Succeeded},
        {{false, "Socket Error # 10053\r\nSoftware caused connection abort."}, UploadVerdict::KernelTooLarge},
        {{false, "HTTP/1.0 302 Socket Error # 10053"}, UploadVerdict::Succeeded}, // 302 first
        {{false, "HTTP/1.0 500 Internal Server Error"}, UploadVerdict::UploadFailed},
        {{false, "Socket Error # 10061\r\nConnection refused."}, UploadVerdict::UploadFailed},
        {{false, ""}, UploadVerdict::UploadFailed},
    };
    for (const Case& test : cases)
        EXPECT_EQ(ClassifyUploadOutcome(test.outcome), test.verdict) << test.outcome.message;

    EXPECT_EQ(VerdictNotice(UploadVerdict::KernelTooLarge)->text, "Kernel Size is too large.");
    EXPECT_EQ(VerdictNotice(UploadVerdict::UploadFailed)->text, "Upload fail!");
    EXPECT_FALSE(VerdictNotice(UploadVerdict::Succeeded));
    EXPECT_FALSE(VerdictNotice(UploadVerdict::NoVerdict));
}

TEST(BuildFirmwareUpload, ThreeFieldsThenTheFileUnderItsFullPath)
{
    const std::string path = testing::TempDir() + "fw image.bin";
    {
        std::ofstream file(path, std::ios::binary);
        file << std::string("\x00\x01\xff"
                            "firmware\r\n--",
                            15);
    }
    const THttpDataStream body = BuildFirmwareUpload(path);
    const std::string& b = body.Boundary();
    const std::string expected = b + "\r\nContent-Disposition: form-data; name=\"redirect\"\r\n\r\nman_firm.htm\r\n" + b
        + "\r\nContent-Disposition: form-data; name=\"failure\"\r\n\r\nfail.htm\r\n" + b
        + "\r\nContent-Disposition: form-data; name=\"type\"\r\n\r\nfile_upload\r\n" + b
        + "\r\nContent-Disposition: form-data; name=\"filename\"; filename=\"" + path
        + "\"\r\nContent-Type: application/octet-stream\r\n\r\n"
        + std::string("\x00\x01\xff"
                      "firmware\r\n--",
                      15);
    EXPECT_EQ(body.Bytes().substr(0, expected.size()), expected);
    EXPECT_EQ(body.Position(), 0u); // rewound, ready to send
    std::remove(path.c_str());

    // A file gone by the time of the upload: the reason names it.
    try {
        BuildFirmwareUpload(path);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const std::runtime_error& error) {
        const Notice notice = FileOpenNotice(error.what());
        EXPECT_NE(notice.text.find(path), std::string::npos) << notice.text;
        EXPECT_NE(notice.text.find("No such file"), std::string::npos) << notice.text;
        EXPECT_EQ(notice.caption, "Firmware Upload");
    }
}

TEST(MaintenanceCommands, RebootAndResetGoToTheManagementScript)
{
    const std::string prefix = "http://192.168.1.20/man.cgi?redirect=reboot.htm&failure=fail.htm&type=";
    EXPECT_EQ(RebootCommand("192.168.1.20"), (Command{prefix + "reboot", "maintain.htm", SendingMode::Once, {}}));
    EXPECT_EQ(FactoryResetCommand("192.168.1.20"),
              (Command{prefix + "default_setting", "maintain.htm", SendingMode::Once, {}}));
    EXPECT_EQ(UploadUrl("192.168.1.20"), "http://192.168.1.20/man.cgi");
    EXPECT_EQ(UploadReferer("192.168.1.20"), "http://192.168.1.20/maintain.htm");
}
