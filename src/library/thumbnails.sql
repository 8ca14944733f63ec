-- Small pictures kept for when the disc is not in the drive.

-- name: pictures_without_thumbnail
SELECT DISTINCT e.picture FROM elements e
WHERE e.disc_id = ?1 AND e.picture <> ''
  AND NOT EXISTS (SELECT 1 FROM thumbnails t WHERE t.disc_id = e.disc_id AND t.picture = e.picture)
ORDER BY e.position;

-- name: store_thumbnail
INSERT OR REPLACE INTO thumbnails (disc_id, picture, image)
SELECT ?1, ?2, ?3 WHERE EXISTS (SELECT 1 FROM discs WHERE id = ?1);

-- name: thumbnail
SELECT image FROM thumbnails WHERE disc_id = ?1 AND picture = ?2;
