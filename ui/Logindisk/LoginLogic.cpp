#include "ui/Logindisk/LoginLogic.h"

#include "app/CurrentDevice.h"
#include "ui/Mountform/FolderListLogic.h"

LoginResult ClassifyLoginAnswer(const PageResponse& answer)
{
    if (answer.body.empty())
        return LoginResult::NoAnswer;
    if (answer.status == 200)
        return LoginResult::Success;
    if (answer.status == 401)
        return LoginResult::BadCredentials;
    return LoginResult::OtherStatus;
}

LoginResult TryLogin(const std::string& userText, const std::string& passwordText, const LoginSeams& seams)
{
    CurrentDevice.UserName = userText;
    CurrentDevice.Password = passwordText;
    PageResponse answer;
    int tries = 0;
    // Only a fetch that brought nothing is repeated; any answer is final.
    do {
        seams.sleep(LoginFetchPauseMs);
        answer = seams.fetch(CurrentDevice.Address, CurrentDevice.UserName, CurrentDevice.Password, LoginPagePath);
        ++tries;
    } while (answer.body.empty() && answer.status <= 0 && tries < LoginFetchLimit);
    return ClassifyLoginAnswer(answer);
}

LoginResult RunLogin(const std::string& userText, const std::string& passwordText, const LoginSeams& seams)
{
    LoginResult result;
    int calls = 0;
    do {
        result = TryLogin(userText, passwordText, seams);
        ++calls;
    } while ((result == LoginResult::BadCredentials || result == LoginResult::OtherStatus) && calls < LoginTryLimit);
    return result;
}

std::vector<std::string> ReadPublicFolders(const std::function<std::string()>& fetchStatusPage)
{
    std::string page;
    for (int reads = 0; page.empty() && reads < FolderListReadLimit; ++reads)
        page = fetchStatusPage();
    return ParseOptionValues(ExtractPageValue(page, "allow_share=\""));
}

void FillFolderList(FolderListLogic& list, const std::function<std::string()>& fetchStatusPage)
{
    list.Fill(ReadPublicFolders(fetchStatusPage));
}
