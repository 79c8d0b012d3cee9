#pragma once
// The fixed English words under which enumerated properties are stored in
// documents. Each vocabulary has a code-to-word function (an unknown code writes
// the vocabulary's fallback word), a word-to-code function (exact, case-sensitive
// match; an unknown word gives the vocabulary's default code) and the list of its
// words in code order, for drop-downs. Codes of every vocabulary run from 0 up
// without gaps, so a word's index in the list is its code.

#include <string>
#include <vector>

// "Design", "Active", "Freeze", "Template", "Testing". Unknown code or word: 0.
std::string WorkflowStatusToWord(int code);
void WordToWorkflowStatus(const std::string& word, int& code);
const std::vector<std::string>& WorkflowStatusWords();

// "Normal", "ICDR", "CDDR", "Referenced". Unknown code or word: 0.
std::string WorkflowTypeToWord(int code);
void WordToWorkflowType(const std::string& word, int& code);
const std::vector<std::string>& WorkflowTypeWords();

// Performer kinds "Person", "Unit", "Workgroup", "Role". Unknown code or word: 0.
std::string OrganisationKindToWord(int code);
void WordToOrganisationKind(const std::string& word, int& code);
const std::vector<std::string>& OrganisationKindWords();

// "Never", "Send", "Self", "Mix". Unknown code or word: 0.
std::string TrackingModeToWord(int code);
void WordToTrackingMode(const std::string& word, int& code);
const std::vector<std::string>& TrackingModeWords();

// "Intern", "In", "Out", "IWC", "ICDR", "CDDR", "Extern", "ExtWFTask", "EIDM".
// Unknown code or word: 0.
std::string TaskKindToWord(int code);
void WordToTaskKind(const std::string& word, int& code);
const std::vector<std::string>& TaskKindWords();

// "h", "d", "w", "m". An unknown code writes "m" (3); an unknown word reads as 0.
std::string DurationUnitToWord(int code);
void WordToDurationUnit(const std::string& word, int& code);
const std::vector<std::string>& DurationUnitWords();

// "Standard", "Control", "Adhoc", "Free". An unknown code writes "Standard"; an
// unknown word leaves `code` as the caller set it.
std::string ContentManagementKindToWord(int code);
void WordToContentManagementKind(const std::string& word, int& code);
const std::vector<std::string>& ContentManagementKindWords();

// External Directory entries: "Design", "Active", "Archive". Unknown code or
// word: 1 ("Active").
std::string DirectoryEntryStatusToWord(int code);
void WordToDirectoryEntryStatus(const std::string& word, int& code);
const std::vector<std::string>& DirectoryEntryStatusWords();

// "Created", "Submitted", "Performed", "Published and notified", "Denied",
// "Canceled", "Expired", "Mail not deliverable". An unknown code writes
// "Published and notified" (3); an unknown word reads as 0.
std::string EidmStateToWord(int code);
void WordToEidmState(const std::string& word, int& code);
const std::vector<std::string>& EidmStateWords();

// "Publish to all", "Publish to WWW", "Publish selective". Unknown code or word: 0.
std::string PublishingModeToWord(int code);
void WordToPublishingMode(const std::string& word, int& code);
const std::vector<std::string>& PublishingModeWords();
