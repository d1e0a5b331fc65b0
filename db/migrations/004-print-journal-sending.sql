-- A document is marked 'enviando' right before its print goes out, so that one still 'pendente' after a
-- crash is known never sent. The earlier version sent documents while 'pendente': those may have reached
-- the paper and stay in doubt as documents being sent.
UPDATE tbl_impressoes SET estado = 'enviando' WHERE estado = 'pendente';
