#include "engine/scripted_questions.h"

namespace torvanik {
namespace {

template <typename T>
std::optional<T> Next(std::deque<T>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

bool ScriptedQuestions::ConfirmAbort() {
    ++abortQuestions;
    return Next(abortAnswers).value_or(false);
}

bool ScriptedQuestions::ConfirmResume(int finishedDisks) {
    resumeQuestions.push_back(finishedDisks);
    return Next(resumeAnswers).value_or(false);
}

bool ScriptedQuestions::TakeFromParity(int disk) {
    parityQuestions.push_back(disk);
    return Next(parityAnswers).value_or(false);
}

std::optional<PickedFile> ScriptedQuestions::PickSourceFile() {
    return Next(sourceAnswers).value_or(std::nullopt);
}

std::optional<PickedFile> ScriptedQuestions::PickDestinationFile(const std::string& initialName) {
    destinationInitialNames.push_back(initialName);
    return Next(destinationAnswers).value_or(std::nullopt);
}

std::string ScriptedQuestions::OpenCleanUpPicker(const std::string& driveRoot, int diskNumber) {
    cleanUpRoots.push_back(driveRoot);
    cleanUpDisks.push_back(diskNumber);
    return cleanUp ? cleanUp(driveRoot) : std::string();
}

int ScriptedQuestions::ChooseDrive(int driveIndex) {
    return Next(driveAnswers).value_or(std::nullopt).value_or(driveIndex);
}

PickedFile PickedFileFromPath(const std::string& path) {
    const auto slash = path.rfind('/');
    return {path, slash == std::string::npos ? path : path.substr(slash + 1)};
}

}  // namespace torvanik
