-- The festa's server: the journal rows every desk sends, the totals their insertion keeps, the desks'
-- heartbeats and the catalogue the treasurer edits. Applied by scripts/festa-schema.sh as the schema's
-- owner (festa_dono), in one transaction with its row in versao_esquema.
CREATE SCHEMA festa;
CREATE TABLE festa.versao_esquema (
    versao integer PRIMARY KEY, aplicada_em timestamptz NOT NULL DEFAULT now());

-- One row: the festa's id tells a desk a new festa from the one it reported to.
CREATE TABLE festa.festa (
    id uuid PRIMARY KEY, criada_em timestamptz NOT NULL DEFAULT now(),
    unica boolean NOT NULL DEFAULT true UNIQUE CHECK (unica));
INSERT INTO festa.festa (id) VALUES (gen_random_uuid());

-- Each desk: journal rows received (primeiro_seq..ultimo_seq, no gaps), its current till (the seq of its
-- opening), the catalogue it sells with, and from its last heartbeat: contact, rows waiting, whether its
-- till is open and, when its upload stopped (a copy of another desk's file), why.
CREATE TABLE festa.caixas (
    id uuid PRIMARY KEY, nome text NOT NULL DEFAULT '',
    primeiro_seq bigint, ultimo_seq bigint, turno bigint,
    catalogo integer NOT NULL DEFAULT 0,
    ultimo_contato timestamptz, a_enviar bigint NOT NULL DEFAULT 0, aberto_no_caixa boolean,
    parado text NOT NULL DEFAULT '');

-- The desks' journal rows, as sent: conteudo is the row's canonical JSON, hash its SHA-256 with the desk
-- and seq. Never changed: a desk may only insert.
CREATE TABLE festa.diario (
    caixa uuid NOT NULL, seq bigint NOT NULL, tipo text NOT NULL, conteudo text NOT NULL,
    hash text NOT NULL, recebido_em timestamptz NOT NULL DEFAULT now(),
    PRIMARY KEY (caixa, seq));

-- Every till of every desk, from its opening (or the desk's snapshot of it) to its closing.
CREATE TABLE festa.turnos (
    caixa uuid NOT NULL REFERENCES festa.caixas (id), abertura_seq bigint NOT NULL,
    numero bigint NOT NULL, responsavel text NOT NULL DEFAULT '', operador text NOT NULL DEFAULT '',
    data text NOT NULL DEFAULT '', hora text NOT NULL DEFAULT '',
    entrada_centavos bigint NOT NULL DEFAULT 0, vendas_centavos bigint NOT NULL DEFAULT 0,
    vendas integer NOT NULL DEFAULT 0, sangria_centavos bigint NOT NULL DEFAULT 0,
    sangrias integer NOT NULL DEFAULT 0, aberto boolean NOT NULL DEFAULT true,
    fechado_em text, fechado_por text, contado_centavos bigint, esperado_no_caixa bigint,
    PRIMARY KEY (caixa, abertura_seq));

-- Units, tickets and amount per desk and product (key, name and price as sold).
CREATE TABLE festa.totais_produto (
    caixa uuid NOT NULL, chave text NOT NULL, produto text NOT NULL, preco_centavos bigint NOT NULL,
    unidades bigint NOT NULL DEFAULT 0, fichas bigint NOT NULL DEFAULT 0, centavos bigint NOT NULL DEFAULT 0,
    PRIMARY KEY (caixa, chave, produto, preco_centavos));

-- A desk's heartbeat: inserted by the desk, kept only as the desk's row in caixas.
CREATE TABLE festa.sinais (
    caixa uuid NOT NULL, nome text NOT NULL, a_enviar bigint NOT NULL, aberto boolean NOT NULL,
    parado text NOT NULL DEFAULT '');

-- The catalogue: each edit by the treasurer is a new version; desks apply the newest between two sales.
CREATE TABLE festa.catalogo_versoes (
    versao integer PRIMARY KEY CHECK (versao > 0),
    cabecalho varchar(30) NOT NULL DEFAULT '', rodape varchar(30) NOT NULL DEFAULT '',
    criada_em timestamptz NOT NULL DEFAULT now());
CREATE TABLE festa.catalogo_produtos (
    versao integer NOT NULL REFERENCES festa.catalogo_versoes ON DELETE CASCADE,
    chave text NOT NULL CHECK (chave ~ '^[0-9a-z]$'),
    produto varchar(25) NOT NULL, impresso varchar(15) NOT NULL,
    preco varchar(10) NOT NULL CHECK (preco ~ '^[0-9]{1,7}(,[0-9]{1,2})?$'),
    fichas integer NOT NULL CHECK (fichas >= 0),
    PRIMARY KEY (versao, chave));

-- Adds units, tickets and amount to a desk's product totals.
CREATE FUNCTION festa.somar_produtos(p_caixa uuid, itens jsonb, linhas boolean) RETURNS void
LANGUAGE sql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
    INSERT INTO totais_produto AS t (caixa, chave, produto, preco_centavos, unidades, fichas, centavos)
    SELECT p_caixa, i->>'chave', i->>'produto', (i->>'centavos')::bigint,
           CASE WHEN linhas THEN count(*) ELSE sum((i->>'unidades')::bigint) END,
           sum((i->>'fichas')::bigint),
           CASE WHEN linhas THEN sum((i->>'centavos')::bigint) ELSE sum((i->>'total_centavos')::bigint) END
    FROM jsonb_array_elements(itens) i GROUP BY 2, 3, 4
    ON CONFLICT (caixa, chave, produto, preco_centavos) DO UPDATE
        SET unidades = t.unidades + excluded.unidades, fichas = t.fichas + excluded.fichas,
            centavos = t.centavos + excluded.centavos;
$$;

-- Each journal row as it is inserted: checked (hash, no gap after the desk's last row, a desk's first
-- row is its snapshot) and added to the totals, so that nothing ever reads the journal to sum it.
CREATE FUNCTION festa.aplicar_registro() RETURNS trigger
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
        IF NEW.tipo <> 'adesao' THEN
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
CREATE TRIGGER diario_aplicar AFTER INSERT ON festa.diario
    FOR EACH ROW EXECUTE FUNCTION festa.aplicar_registro();

-- A heartbeat becomes the desk's row; a stop stays until the treasurer clears it, whatever a copy of
-- the same desk reports afterwards.
CREATE FUNCTION festa.receber_sinal() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = festa, pg_temp AS $$
BEGIN
    INSERT INTO caixas AS k (id, nome, ultimo_contato, a_enviar, aberto_no_caixa, parado)
    VALUES (NEW.caixa, NEW.nome, now(), NEW.a_enviar, NEW.aberto, NEW.parado)
    ON CONFLICT (id) DO UPDATE
        SET nome = excluded.nome, ultimo_contato = excluded.ultimo_contato, a_enviar = excluded.a_enviar,
            aberto_no_caixa = excluded.aberto_no_caixa,
            parado = CASE WHEN k.parado <> '' THEN k.parado ELSE excluded.parado END;
    RETURN NULL;
END
$$;
CREATE TRIGGER sinais_receber BEFORE INSERT ON festa.sinais
    FOR EACH ROW EXECUTE FUNCTION festa.receber_sinal();

REVOKE ALL ON ALL FUNCTIONS IN SCHEMA festa FROM PUBLIC;
GRANT USAGE ON SCHEMA festa TO festa_caixa, festa_tesouraria;
-- Desks: insert journal rows and heartbeats, read back the hashes of journal rows (to tell a resent row
-- from a different one), the festa, the schema version and the catalogue. Nothing else.
GRANT INSERT ON festa.diario, festa.sinais TO festa_caixa;
GRANT SELECT (caixa, seq, hash) ON festa.diario TO festa_caixa;
GRANT SELECT ON festa.festa, festa.versao_esquema, festa.catalogo_versoes, festa.catalogo_produtos
    TO festa_caixa;
-- The treasurer: reads everything, edits the catalogue and clears a desk's stop.
GRANT SELECT ON ALL TABLES IN SCHEMA festa TO festa_tesouraria;
GRANT INSERT, UPDATE, DELETE ON festa.catalogo_versoes, festa.catalogo_produtos TO festa_tesouraria;
GRANT UPDATE (parado) ON festa.caixas TO festa_tesouraria;
