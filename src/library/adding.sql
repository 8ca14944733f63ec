-- Adding a listing, or updating the entry of the path it was opened from.

-- name: find_disc
SELECT id FROM discs WHERE path = ?1;

-- name: insert_disc
INSERT INTO discs (path, title, listing, working_dir, volume_label, volume_uuid, added_at, seen_at)
VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?7);

-- name: update_disc
UPDATE discs SET title = ?2, listing = ?3, working_dir = ?4, volume_label = ?5,
                 volume_uuid = ?6, seen_at = ?7
WHERE id = ?1;

-- name: clear_elements
DELETE FROM elements WHERE disc_id = ?1;

-- name: clear_categories
DELETE FROM categories WHERE disc_id = ?1;

-- name: insert_category
INSERT INTO categories (disc_id, number, name) VALUES (?1, ?2, ?3);

-- name: insert_element
INSERT INTO elements (disc_id, position, name, category, picture)
VALUES (?1, ?2, ?3, ?4, ?5);

-- name: insert_words
INSERT INTO element_words (rowid, name, description) VALUES (?1, ?2, ?3);

-- name: drop_stale_thumbnails
DELETE FROM thumbnails
WHERE disc_id = ?1 AND picture NOT IN (SELECT picture FROM elements WHERE disc_id = ?1);
