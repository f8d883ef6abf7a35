#include "engine/scripted_questions.h"

#include "engine/transfer_state.h"

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

void ScriptedQuestions::ConfirmAbort() {
    ++abortQuestions;
    transferState.transferPending = Next(abortAnswers).value_or(1);
}

std::optional<PickedFile> ScriptedQuestions::PickSourceFile() {
    return Next(sourceAnswers).value_or(std::nullopt);
}

std::optional<PickedFile> ScriptedQuestions::PickDestinationFile(const std::string& initialName) {
    destinationInitialNames.push_back(initialName);
    return Next(destinationAnswers).value_or(std::nullopt);
}

void ScriptedQuestions::OpenCleanUpPicker(const std::string& driveRoot) {
    cleanUpRoots.push_back(driveRoot);
    if (cleanUp) {
        cleanUp(driveRoot);
    }
}

void ScriptedQuestions::ChooseDrive() {
    if (const auto index = Next(driveAnswers).value_or(std::nullopt)) {
        transferState.driveIndex = *index;
    }
}

PickedFile PickedFileFromPath(const std::string& path) {
    const auto slash = path.rfind('/');
    return {path, slash == std::string::npos ? path : path.substr(slash + 1)};
}

}  // namespace torvanik
