-- Finding elements: those whose names hold every wanted word first, then
-- those that need their descriptions for it; within each, in the order the
-- elements were added, which the full-text index gives without sorting.

-- name: search
SELECT e.disc_id, d.title, e.category, e.name, e.position
FROM element_words w
JOIN elements e ON e.id = w.rowid
JOIN discs d ON d.id = e.disc_id
WHERE element_words MATCH ?1
LIMIT ?2;

-- name: latest_elements
SELECT e.disc_id, d.title, e.category, e.name, e.position
FROM discs d
JOIN elements e ON e.disc_id = d.id
ORDER BY d.seen_at DESC, d.id DESC, e.position
LIMIT ?1;
