-- Finding elements. Matches in names come before matches in descriptions
-- only; within each, the closer match first.

-- name: search
SELECT e.disc_id, d.title, e.category, e.name, e.position
FROM element_words w
JOIN elements e ON e.id = w.rowid
JOIN discs d ON d.id = e.disc_id
WHERE element_words MATCH ?1
ORDER BY e.id IN (SELECT rowid FROM element_words WHERE element_words MATCH ?2) DESC,
         bm25(element_words, 10.0, 1.0), d.title, e.position
LIMIT ?3;

-- name: latest_elements
SELECT e.disc_id, d.title, e.category, e.name, e.position
FROM discs d
JOIN elements e ON e.disc_id = d.id
ORDER BY d.seen_at DESC, d.id, e.position
LIMIT ?1;
