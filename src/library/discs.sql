-- The discs as a whole: listing, removing, the copy kept of each.

-- name: list_discs
SELECT d.id, d.title, d.path, d.volume_label, d.seen_at,
       (SELECT count(*) FROM elements e WHERE e.disc_id = d.id)
FROM discs d
ORDER BY d.title, d.path;

-- name: discs_titled
SELECT id FROM discs WHERE title = ?1;

-- name: remove_elements
DELETE FROM elements WHERE disc_id = ?1;

-- name: remove_disc
DELETE FROM discs WHERE id = ?1;

-- name: stored_listing
SELECT path, title, listing, working_dir, volume_label FROM discs WHERE id = ?1;

-- name: recent_paths
SELECT path FROM discs ORDER BY seen_at DESC, id DESC LIMIT ?1;
