#pragma once
// The status texts and Info Center texts of loading the External Directory.

#include "extdir/extdirsection.h"
#include "repository/databasetemplates.h"

namespace velk::extdirtexts {

#define VELK_NO_VIEW(what, view)                                           \
  "Unable to read " what                                                   \
  " out of Extenal Directory database,\r\nbecause the database has "       \
  "no view " view                                                          \
  ". Maybe this database is no\r\nVELK-database or from a former version " \
  "of VELK. Please choose another one."
#define VELK_NO_FOLDER(what, view)                                   \
  "Unable to read " what                                             \
  " out of Extenal Directory database,\r\nbecause the database has " \
  "no viewfolder " view                                              \
  ". Maybe this database is no\r\nVELK-database or from a former "   \
  "version of VELK. Please choose another one."
#define VELK_NO_DOCUMENTS(what)                             \
  "Unable to read " what                                    \
  ", because documents could not be opened. \r\nMaybe the " \
  "documents are locked or you have no permission to read.\r\n"
#define VELK_GRI_VIEW(kind, view)                                                                \
  "The chosen External Directory database could not be opened properly,\r\nbecause it has " kind \
  " " view                                                                                       \
  ". Maybe this database is no\r\nVELK-database or from a former version of "                    \
  "VELK. Please choose another one."
#define VELK_DOCUMENT_IN_VIEW(view)            \
  "Error opening a document in the view " view \
  ". Maybe this\r\ndocument is locked or you " \
  "have no reading permissions.\r\nTry to read the next document..."

inline const ExtDirSectionTexts kContentBlocks{
    "Reading Content Blocks",
    views::kContentBlocks,
    "Content Blocks",
    nullptr,
    "Content Blocks",
    "Content Blocks have been loaded sucessfully.",
    "Content Blocks: Opening view (Modeler\\ContentBlocks)",
    VELK_NO_VIEW("content blocks", "(Modeler\\ContentBlocks)"),
    "Content Blocks: Opening Viewfolder (Modeler\\ContentBlocks)",
    VELK_NO_FOLDER("content blocks", "(Modeler\\ContentBlocks)"),
    "Content Blocks: Reading Documents",
    VELK_NO_DOCUMENTS("content blocks"),
    false};

inline const ExtDirSectionTexts kContentManagement{
    "Reading Content Management",
    views::kContentManagement,
    "Content Management",
    nullptr,
    "Content Management Blocks",
    "Content Management Blocks have been loaded sucessfully.",
    "Content Management: Getting View (Modeler\\ContentManagement)",
    VELK_NO_VIEW("content management blocks", "(Modeler\\ContentManagement)"),
    "Content Management: Opening Viewfolder (Modeler\\ContentManagement)",
    VELK_NO_FOLDER("content blocks", "(Modeler\\ContentManagement)"),
    "Content Management: Reading Documents",
    VELK_NO_DOCUMENTS("content management blocks"),
    false};

inline const ExtDirSectionTexts kDocumentTypes{
    "Reading Document Types",
    views::kDocumentTypes,
    "Document Types",
    nullptr,
    "Document Types",
    "Document Types have been loaded sucessfully.",
    "Document Types: Opening View (Modeler\\DocumentTypes)",
    VELK_NO_VIEW("document types", "(Modeler\\DocumentTypes)"),
    "Document Types: Opening ViewFolder (Modeler\\DocumentTypes)",
    VELK_NO_FOLDER("document types", "(Modeler\\DocumentTypes)"),
    "Document Types: Reading Documents",
    VELK_NO_DOCUMENTS("document types"),
    false};

inline const ExtDirSectionTexts kPersons{
    "Reading External Persons",
    views::kPeople,
    "External Reg. Organizations",
    "External Reg. Organizations: Reading persons",
    "external persons",
    "External Registered Organizations have been loaded successfully.",
    "External Reg. Organizations: Opening View \"People\"",
    VELK_NO_VIEW("persons", "\"People\""),
    "External Reg. Organizations: Opening Viewfolder \"Initiator\"",
    VELK_NO_FOLDER("external persons", "\"People\""),
    "External Reg. Organizations: Reading Documents",
    VELK_NO_DOCUMENTS("external persons"),
    false};

inline const ExtDirSectionTexts kEidmRequests{
    "Reading EIDM Data",
    views::kEidm,
    "External Ordered Cluster",
    nullptr,
    "external ordered cluster",
    "External Ordered Clusters have been loaded successfully.",
    "External Ordered Cluster: Opening view (Modeler\\EIDM)",
    VELK_NO_VIEW("external ordererd cluster", "(Modeler\\EIDM)"),
    "External Ordered Cluster: Opening Viewfolder (Modeler\\EIDM)",
    VELK_NO_FOLDER("external ordered cluster", "(Modeler\\EIDM)"),
    "External Ordered Cluster: Reading External Ordered Cluster",
    VELK_NO_DOCUMENTS("external ordered cluster"),
    false};

inline const ExtDirSectionTexts kEidmOrganisations{
    "Reading EIDM Organization Data",
    views::kEidmOrg,
    "External Ordered Cluster Organization",
    nullptr,
    "external ordered cluster organizations",
    "External Ordered Cluster Organizations have been loaded successfully.",
    "External Ordered Cluster Organization: Opening view (Modeler\\EIDMOrg)",
    VELK_NO_VIEW("external ordererd cluster organzations", "(Modeler\\EIDMOrg)"),
    "External Ordered Cluster Organization: Opening Viewfolder (Modeler\\EIDM)",
    VELK_NO_FOLDER("external ordered cluster organizations", "(Modeler\\EIDMOrg)"),
    "External Ordered Cluster Organization: Reading External Ordered Cluster Organizations",
    VELK_NO_DOCUMENTS("external ordered cluster organizations"),
    false};

inline const ExtDirSectionTexts kHeaders{
    "Reading GRI Header Documents",
    views::kGriHeader,
    "GRI Header",
    nullptr,
    "GRI Headers",
    "GRI Header Informations have been loaded sucessfully.",
    "GRI Header: Opening view (Modeler\\GRIHeader)",
    VELK_GRI_VIEW("no view", "(Modeler\\GRIHeader)"),
    "GRI Header: Opening viewfolder (Modeler\\GRIHeader)",
    VELK_GRI_VIEW("no valid viewfolder", "(Modeler\\GRIHeader)"),
    "GRI Header: Reading documents",
    VELK_DOCUMENT_IN_VIEW("(Modeler\\GRIHeader)"),
    true};

inline constexpr char kNoDirection[] =
    "The direction of the GRI Header \"%s\" is not set. Assuming that it is a published header.";
inline constexpr char kPublishedNoId[] =
    "The published GRI Header \"%s\" has an empty HeaderID. \r\nSetting HeaderID with currect "
    "document unique ID.";
inline constexpr char kPublishedNoOrg[] =
    "The published GRI Header \"%s\" has an empty Organization Name. Fixing.";
inline constexpr char kOfferedNoId[] =
    "The offered GRI Header \"%s\" has an empty HeaderID. Skip loading...";
inline constexpr char kOfferedNoOrg[] =
    "The offered GRI Header \"%s\" has an empty Organization Name. Reading anyway. Please fix!";

// Leafs and saving.
inline constexpr char kOpenFailText[] =
    "The chosen External Directory database could not be opened. Please choose another "
    "one\r\nor retry later.";
inline constexpr char kReopenFailText[] =
    "The External Directory database could not be opened. Please choose another one\r\nor "
    "retry later.";
inline constexpr char kLeafViewMissing[] = VELK_GRI_VIEW("no view", "(Modeler\\GRILeaf)");
inline constexpr char kLeafViewBad[] = VELK_GRI_VIEW("no valid viewfolder", "(Modeler\\GRILeaf)");
inline constexpr char kLeafIdViewMissing[] = VELK_GRI_VIEW("no view", "(Modeler\\GRILeafID)");
inline constexpr char kIriViewMissing[] = VELK_GRI_VIEW("no view", "(Modeler\\IRILeaf)");
inline constexpr char kLeafDocument[] =
    "Unable to open GRI-Leaf document. Maybe the document is locked or you have no permission "
    "to read. Trying to read next document...";
inline constexpr char kLeafsLoaded[] = "GRI Leaf Informations have been loaded sucessfully.";

#undef VELK_NO_VIEW
#undef VELK_NO_FOLDER
#undef VELK_NO_DOCUMENTS

}  // namespace velk::extdirtexts
