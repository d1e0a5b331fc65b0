-- Two desks that claim one identity (a desk file copied to a second computer, or an old backup restored):
-- the server keeps the first row it got per (desk, seq), so the branch it holds is "the server's" and the
-- other one is "the copy", told apart by its own hash of the first row the server refused. Both stop
-- sending; the treasurer chooses which one keeps the identity, and the other takes a new one and sends its
-- rows from the divergence on under it.

-- One claim per branch refused: seq and hash of its first row the server holds with another content.
-- From the copy's heartbeats: its name, contact and rows waiting. The treasurer's choice: the winner
-- ('servidor' or 'copia') and the identity the loser takes (starting at seq).
CREATE TABLE festa.copias (
    caixa uuid NOT NULL, seq bigint NOT NULL, hash text NOT NULL,
    detectada_em timestamptz NOT NULL DEFAULT now(),
    nome text NOT NULL DEFAULT '', ultimo_contato timestamptz, a_enviar bigint NOT NULL DEFAULT 0,
    vencedor text CHECK (vencedor IN ('servidor', 'copia')), novo_id uuid, resolvida_em timestamptz,
    PRIMARY KEY (caixa, seq, hash));

-- What a stopped desk books while it waits for the treasurer, kept apart from the totals (the panel reads
-- a stopped desk's till from them). ramo: '' for the server's branch, the copy's hash otherwise.
CREATE TABLE festa.retidos (
    caixa uuid NOT NULL, ramo text NOT NULL, seq bigint NOT NULL, tipo text NOT NULL,
    conteudo text NOT NULL, PRIMARY KEY (caixa, ramo, seq));

-- A desk made from the loser of a claim: its rows start at `desde` (the first row after the copy) and its
-- till at that point is the one of `origem`, without the figures (they stay the keeper's).
ALTER TABLE festa.caixas ADD COLUMN origem uuid, ADD COLUMN desde bigint;

-- The till rows of a desk, to find the till open at a given row without reading its sales.
CREATE INDEX diario_turnos ON festa.diario (caixa, seq) WHERE tipo IN ('abertura', 'adesao', 'fechamento');

-- As in 001, and a desk made from a claim's loser starts at its `desde` instead of a snapshot.
CREATE OR REPLACE FUNCTION festa.aplicar_registro() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
DECLARE
    c jsonb := NEW.conteudo::jsonb;
    d caixas;
BEGIN
    IF NEW.hash <> encode(sha256(convert_to(NEW.caixa::text || ':' || NEW.seq || ':' || NEW.conteudo,
                                            'UTF8')), 'hex') THEN
        RAISE EXCEPTION 'registro % do caixa %: o hash não confere', NEW.seq, NEW.caixa
            USING ERRCODE = 'QV002';
    END IF;
    SELECT * INTO d FROM caixas WHERE id = NEW.caixa FOR UPDATE;
    IF NOT FOUND THEN
        INSERT INTO caixas (id) VALUES (NEW.caixa) ON CONFLICT (id) DO NOTHING;
        SELECT * INTO d FROM caixas WHERE id = NEW.caixa FOR UPDATE;
    END IF;
    IF d.ultimo_seq IS NULL THEN
        IF d.desde IS NOT NULL THEN
            IF NEW.seq <> d.desde THEN
                RAISE EXCEPTION 'o caixa % começou pelo registro %, não pelo %', NEW.caixa, NEW.seq, d.desde
                    USING ERRCODE = 'QV001';
            END IF;
        ELSIF NEW.tipo <> 'adesao' THEN
            RAISE EXCEPTION 'o caixa % começou pelo registro % (%), não pela adesão', NEW.caixa, NEW.seq,
                NEW.tipo USING ERRCODE = 'QV001';
        END IF;
        d.primeiro_seq := NEW.seq;
    ELSIF NEW.seq <> d.ultimo_seq + 1 THEN
        RAISE EXCEPTION 'o caixa % enviou o registro % depois do %', NEW.caixa, NEW.seq, d.ultimo_seq
            USING ERRCODE = 'QV001';
    END IF;

    CASE NEW.tipo
    WHEN 'adesao' THEN
        d.catalogo := coalesce((c->>'catalogo')::integer, 0);
        IF (c->>'aberto')::boolean THEN
            INSERT INTO turnos (caixa, abertura_seq, numero, responsavel, operador, data, hora,
                                entrada_centavos, vendas_centavos, vendas, sangria_centavos, sangrias)
            VALUES (NEW.caixa, NEW.seq, (c->>'caixa')::bigint, c->>'responsavel', c->>'operador',
                    c->>'data', c->>'hora', (c->>'entrada_centavos')::bigint,
                    (SELECT coalesce(sum((i->>'total_centavos')::bigint), 0)
                     FROM jsonb_array_elements(c->'itens') i),
                    (c->>'vendas')::integer, (c->>'sangria_centavos')::bigint, (c->>'sangrias')::integer);
            d.turno := NEW.seq;
            PERFORM somar_produtos(NEW.caixa, c->'itens', false);
        END IF;
    WHEN 'abertura' THEN
        INSERT INTO turnos (caixa, abertura_seq, numero, responsavel, operador, data, hora, entrada_centavos)
        VALUES (NEW.caixa, NEW.seq, (c->>'caixa')::bigint, c->>'responsavel', c->>'operador', c->>'data',
                c->>'hora', (c->>'entrada_centavos')::bigint);
        d.turno := NEW.seq;
    WHEN 'venda' THEN
        PERFORM somar_produtos(NEW.caixa, c->'itens', true);
        UPDATE turnos SET vendas_centavos = vendas_centavos + (c->>'total_centavos')::bigint,
                          vendas = vendas + 1
        WHERE caixa = NEW.caixa AND abertura_seq = d.turno;
    WHEN 'sangria' THEN
        UPDATE turnos SET sangria_centavos = sangria_centavos + (c->>'centavos')::bigint,
                          sangrias = sangrias + 1
        WHERE caixa = NEW.caixa AND abertura_seq = d.turno;
    WHEN 'fechamento' THEN
        UPDATE turnos SET aberto = false, fechado_em = c->>'momento', fechado_por = c->>'fechado_por',
                          contado_centavos = (c->>'contado_centavos')::bigint,
                          esperado_no_caixa = (c->>'esperado_centavos')::bigint
        WHERE caixa = NEW.caixa AND abertura_seq = d.turno;
    WHEN 'catalogo' THEN
        d.catalogo := (c->>'versao')::integer;
    ELSE
        NULL; -- a ticket reprint: kept in the journal only
    END CASE;

    UPDATE caixas SET primeiro_seq = d.primeiro_seq, ultimo_seq = NEW.seq, turno = d.turno,
                      catalogo = d.catalogo
    WHERE id = NEW.caixa;
    RETURN NULL;
END
$$;

-- A heartbeat becomes the desk's row, its stop as the desk says it: whether an identity is claimed twice
-- is told by copias, which only the treasurer's choice settles.
CREATE OR REPLACE FUNCTION festa.receber_sinal() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
BEGIN
    INSERT INTO caixas AS k (id, nome, ultimo_contato, a_enviar, aberto_no_caixa, parado)
    VALUES (NEW.caixa, NEW.nome, now(), NEW.a_enviar, NEW.aberto, NEW.parado)
    ON CONFLICT (id) DO UPDATE
        SET nome = excluded.nome, ultimo_contato = excluded.ultimo_contato, a_enviar = excluded.a_enviar,
            aberto_no_caixa = excluded.aberto_no_caixa, parado = excluded.parado;
    RETURN NULL;
END
$$;

-- A desk whose row `p_seq` the server holds with another content claims the identity too: recorded once
-- (the server's row must indeed differ).
CREATE FUNCTION festa.registrar_copia(p_caixa uuid, p_seq bigint, p_hash text, p_nome text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM diario WHERE caixa = p_caixa AND seq = p_seq AND hash <> p_hash) THEN
        RAISE EXCEPTION 'o servidor não tem outro registro % do caixa %', p_seq, p_caixa USING ERRCODE = 'QV003';
    END IF;
    INSERT INTO copias (caixa, seq, hash, nome, ultimo_contato) VALUES (p_caixa, p_seq, p_hash, p_nome, now())
    ON CONFLICT (caixa, seq, hash) DO NOTHING;
END
$$;

-- The copy's heartbeat while it waits for the treasurer.
CREATE FUNCTION festa.sinal_copia(p_caixa uuid, p_seq bigint, p_hash text, p_nome text, p_a_enviar bigint)
RETURNS void LANGUAGE sql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
    UPDATE copias SET nome = p_nome, ultimo_contato = now(), a_enviar = p_a_enviar
    WHERE caixa = p_caixa AND seq = p_seq AND hash = p_hash AND vencedor IS NULL;
$$;

-- Takes a desk's rows from `p_desde` on out of the server, its totals made again from the rows before.
CREATE FUNCTION festa.recortar_caixa(p_caixa uuid, p_desde bigint) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
DECLARE
    mantidos diario[];
    r diario;
BEGIN
    SELECT coalesce(array_agg(x ORDER BY x.seq), '{}') INTO mantidos
    FROM diario x WHERE x.caixa = p_caixa AND x.seq < p_desde;
    DELETE FROM diario WHERE caixa = p_caixa;
    DELETE FROM totais_produto WHERE caixa = p_caixa;
    DELETE FROM turnos WHERE caixa = p_caixa AND abertura_seq >= coalesce(
        (SELECT desde FROM caixas WHERE id = p_caixa), 0);
    UPDATE turnos SET vendas_centavos = 0, vendas = 0, sangria_centavos = 0, sangrias = 0, aberto = true,
                      fechado_em = NULL, fechado_por = NULL, contado_centavos = NULL, esperado_no_caixa = NULL
    WHERE caixa = p_caixa;
    UPDATE caixas SET primeiro_seq = NULL, ultimo_seq = NULL,
                      turno = (SELECT max(abertura_seq) FROM turnos WHERE caixa = p_caixa)
    WHERE id = p_caixa;
    FOREACH r IN ARRAY mantidos LOOP
        INSERT INTO diario VALUES (r.*);
    END LOOP;
END
$$;

-- The treasurer's choice for one claim: `p_vencedor` keeps the identity ('servidor': the branch the server
-- holds; 'copia': the one it refused). The loser gets a new identity starting at the claim's seq, with the
-- till that was open before the copy (its figures stay the keeper's); when the copy wins, the server's
-- rows from that seq on leave the identity (their desk sends them again under its new one). Returns the
-- new identity.
CREATE FUNCTION festa.resolver_copia(p_caixa uuid, p_seq bigint, p_hash text, p_vencedor text) RETURNS uuid
LANGUAGE plpgsql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
DECLARE
    novo uuid := gen_random_uuid();
    k caixas;
    abertura diario;
BEGIN
    SELECT * INTO k FROM caixas WHERE id = p_caixa FOR UPDATE;
    PERFORM 1 FROM copias WHERE caixa = p_caixa AND seq = p_seq AND hash = p_hash AND vencedor IS NULL
        FOR UPDATE;
    IF NOT FOUND OR p_vencedor NOT IN ('servidor', 'copia') THEN
        RAISE EXCEPTION 'esta cópia do caixa já foi resolvida' USING ERRCODE = 'QV003';
    END IF;
    SELECT * INTO abertura FROM diario
    WHERE caixa = p_caixa AND seq < p_seq AND tipo IN ('abertura', 'adesao', 'fechamento')
    ORDER BY seq DESC LIMIT 1;
    IF p_vencedor = 'copia' THEN
        PERFORM recortar_caixa(p_caixa, p_seq);
    END IF;
    INSERT INTO caixas (id, nome, catalogo, origem, desde)
    VALUES (novo, CASE WHEN p_vencedor = 'copia' THEN k.nome
                       ELSE (SELECT nome FROM copias WHERE caixa = p_caixa AND seq = p_seq AND hash = p_hash)
                  END, k.catalogo, p_caixa, p_seq);
    IF abertura.tipo = 'abertura' OR (abertura.tipo = 'adesao' AND (abertura.conteudo::jsonb->>'aberto')::boolean)
    THEN
        INSERT INTO turnos (caixa, abertura_seq, numero, responsavel, operador, data, hora)
        SELECT novo, t.abertura_seq, t.numero, t.responsavel, t.operador, t.data, t.hora
        FROM turnos t WHERE t.caixa = p_caixa AND t.abertura_seq = abertura.seq;
        UPDATE caixas SET turno = abertura.seq WHERE id = novo;
    END IF;
    UPDATE copias SET vencedor = p_vencedor, novo_id = novo, resolvida_em = now()
    WHERE caixa = p_caixa AND seq = p_seq AND hash = p_hash;
    UPDATE caixas SET parado = '' WHERE id = p_caixa;
    DELETE FROM retidos WHERE caixa = p_caixa;
    RETURN novo;
END
$$;

REVOKE ALL ON ALL FUNCTIONS IN SCHEMA festa FROM PUBLIC;
GRANT EXECUTE ON FUNCTION festa.registrar_copia(uuid, bigint, text, text),
    festa.sinal_copia(uuid, bigint, text, text, bigint) TO festa_caixa;
GRANT SELECT (caixa, seq, hash, vencedor, novo_id) ON festa.copias TO festa_caixa;
GRANT INSERT ON festa.retidos TO festa_caixa;
GRANT SELECT (caixa, ramo, seq) ON festa.retidos TO festa_caixa;
GRANT SELECT ON festa.copias, festa.retidos TO festa_tesouraria;
GRANT EXECUTE ON FUNCTION festa.resolver_copia(uuid, bigint, text, text) TO festa_tesouraria;
