// Restoring identities: documents saved under a given note id and universal id,
// and a database's replica id set from outside.

#include <gtest/gtest.h>

#include "store_fixture.h"

namespace {

const LNUNID kUnid{{0x11111111, 0x22222222, 0x33333333, 0x44444444}};

class IdentityTest : public BackendTest {
 protected:
  // A new document of `db` that claims `noteId` and `unid`, the claim answered with `expected`.
  static LNDocument Claim(LNDatabase& db, LNNOTEID noteId, const LNUNID* unid = nullptr,
                          LNSTATUS expected = LNNOERROR) {
    LNDocument doc;
    EXPECT_EQ(db.CreateDocument(&doc, "Header"), LNNOERROR);
    EXPECT_EQ(doc.SetNoteIdentity(noteId, unid), expected) << noteId;
    return doc;
  }
};

TEST_P(IdentityTest, NewDocumentKeepsTheGivenIdsAcrossReopen) {
  LNDatabase db = NewDatabase();
  LNDocument doc = Claim(db, 0x1F2, &kUnid);
  ASSERT_EQ(doc.CreateItem("Type", LNText("Order Handling")), LNNOERROR);
  ASSERT_EQ(doc.Save(), LNNOERROR);
  EXPECT_EQ(doc.GetNoteID(), 0x1F2u);
  // Saving again updates the same note.
  ASSERT_EQ(doc.CreateItem("Version", LNText("2")), LNNOERROR);
  ASSERT_EQ(doc.Save(), LNNOERROR);
  LNDocument later = AddDocument(db, "Header", {{"Type", "Other"}});
  EXPECT_GT(later.GetNoteID(), 0x1F2u);
  ASSERT_EQ(db.Close(), LNNOERROR);

  LNDatabase again = Reopen();
  LNDocument loaded;
  ASSERT_EQ(again.GetDocument(0x1F2, &loaded), LNNOERROR);
  ASSERT_EQ(loaded.Open(), LNNOERROR);
  EXPECT_EQ(loaded.GetUniversalID(), kUnid);
  EXPECT_TRUE(loaded.HasItem("Version"));
  EXPECT_EQ(All(again).size(), 2u);
}

TEST_P(IdentityTest, ZeroAndNoUnidLeaveTheIdentityToTheStore) {
  LNDatabase db = NewDatabase();
  LNDocument doc;
  ASSERT_EQ(db.CreateDocument(&doc, "Header"), LNNOERROR);
  const LNUNID own = doc.GetUniversalID();
  ASSERT_EQ(doc.SetNoteIdentity(0, nullptr), LNNOERROR);
  ASSERT_EQ(doc.Save(), LNNOERROR);
  EXPECT_NE(doc.GetNoteID(), 0u);
  EXPECT_EQ(doc.GetUniversalID(), own);
}

TEST_P(IdentityTest, TakenIdsAndSavedNotesAreRefused) {
  LNDatabase db = NewDatabase();
  LNDocument first = AddDocument(db, "Header", {});
  const LNUNID firstUnid = first.GetUniversalID();
  Claim(db, first.GetNoteID(), nullptr, LNERR_NOTE_EXISTS);
  Claim(db, 0x500, &firstUnid, LNERR_NOTE_EXISTS);
  EXPECT_EQ(first.SetNoteIdentity(0x600, nullptr), LNERR_INVALID_ARGUMENT);
  // Free ids stay free until one of two notes claiming them is saved.
  LNDocument a = Claim(db, 0x700, &kUnid);
  LNDocument b = Claim(db, 0x700);
  ASSERT_EQ(a.Save(), LNNOERROR);
  EXPECT_EQ(b.Save(), LNERR_NOTE_EXISTS);
  EXPECT_EQ(All(db).size(), 2u);
}

TEST_P(IdentityTest, RolledBackImportFreesTheIds) {
  LNDatabase db = NewDatabase();
  {
    LNTransaction transaction(db);
    ASSERT_EQ(Claim(db, 0x800, &kUnid).Save(), LNNOERROR);
  }
  LNDocument gone;
  EXPECT_EQ(db.GetDocument(0x800, &gone), LNERR_DOCUMENT_NOT_FOUND);
  Claim(db, 0x800, &kUnid);
}

TEST_P(IdentityTest, ReplicaIdIsKeptAcrossReopenAndFollowsTransactions) {
  LNDatabase db = NewDatabase();
  const LNREPLICAID id{{0xC1257A1B, 0x0034F2E1}};
  ASSERT_EQ(db.SetReplicaID(id), LNNOERROR);
  EXPECT_EQ(db.GetReplicaID(), id);
  {
    LNTransaction transaction(db);
    ASSERT_EQ(db.SetReplicaID(LNREPLICAID{{1, 2}}), LNNOERROR);
  }
  ASSERT_EQ(db.Close(), LNNOERROR);
  EXPECT_EQ(Reopen().GetReplicaID(), id);

  LNDatabase closed;
  ASSERT_EQ(session_.GetDatabase("test.nsf", &closed, server_), LNNOERROR);
  EXPECT_EQ(closed.SetReplicaID(id), LNERR_DATABASE_NOT_OPEN);
}

VELK_BOTH_BACKENDS(IdentityTest);

}  // namespace
