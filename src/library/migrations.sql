-- Each version's step from the one before. A file made by an earlier release
-- is brought forward step by step; a step is never edited once released.

-- version: 1
CREATE TABLE discs (
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE,        -- absolute path the listing was opened from
  title TEXT NOT NULL,
  listing BLOB NOT NULL,            -- the listing file's exact bytes
  working_dir TEXT NOT NULL,        -- folder its pictures are named from
  volume_label TEXT NOT NULL DEFAULT '',
  volume_uuid TEXT NOT NULL DEFAULT '',
  added_at INTEGER NOT NULL,        -- milliseconds since 1970
  seen_at INTEGER NOT NULL
);
CREATE INDEX discs_by_title ON discs(title);
CREATE INDEX discs_by_seen ON discs(seen_at);

CREATE TABLE categories (
  disc_id INTEGER NOT NULL REFERENCES discs(id) ON DELETE CASCADE,
  number INTEGER NOT NULL,
  name TEXT NOT NULL,
  PRIMARY KEY (disc_id, number)
) WITHOUT ROWID;

CREATE TABLE elements (
  id INTEGER PRIMARY KEY,
  disc_id INTEGER NOT NULL REFERENCES discs(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  name TEXT NOT NULL,
  category TEXT NOT NULL,
  picture TEXT NOT NULL,            -- as the listing names it; '' for none
  UNIQUE (disc_id, position)
);

-- Descriptions are kept only here and in the listing's bytes, which is what
-- the library window shows them from.
-- Folded copies of the texts (see foldForSearch), so that ñ, ß and œ match
-- as the find window matches them; the tokenizer strips the other accents.
CREATE VIRTUAL TABLE element_words USING fts5(
  name, description,
  tokenize = 'unicode61 remove_diacritics 2',
  prefix = '2 3');
CREATE TRIGGER element_words_follow AFTER DELETE ON elements BEGIN
  DELETE FROM element_words WHERE rowid = old.id;
END;

-- One per picture of a disc: elements sharing a picture share its thumbnail,
-- and an update of the listing keeps those whose picture did not change.
CREATE TABLE thumbnails (
  disc_id INTEGER NOT NULL REFERENCES discs(id) ON DELETE CASCADE,
  picture TEXT NOT NULL,
  image BLOB NOT NULL,              -- JPEG or PNG, longest side at most 256 pixels
  PRIMARY KEY (disc_id, picture)
) WITHOUT ROWID;
