-- Tables and saved queries of mydata.tvd.
-- Column order matters wherever the program reads "SELECT *" by position.
-- Text compares without regard to Latin letter case (COLLATE NOCASE); dates
-- are stored as 'YYYY-MM-DD' and times as 'HH:MM:SS', so that comparing and
-- sorting the text compares the dates.

PRAGMA foreign_keys = OFF;

-- Records -------------------------------------------------------------------

CREATE TABLE opportunities (
    opp_id                   INTEGER PRIMARY KEY AUTOINCREMENT,
    opp_subject              TEXT COLLATE NOCASE,
    opp_description          TEXT COLLATE NOCASE,
    opp_create_date          TEXT CHECK (opp_create_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    opp_die_date             TEXT CHECK (opp_die_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    opp_estimate_sale        REAL,
    opp_sale                 REAL,
    opp_important            TEXT COLLATE NOCASE,
    opp_phase                TEXT COLLATE NOCASE,
    opp_recent_contact_date  TEXT CHECK (opp_recent_contact_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    opp_private              INTEGER,
    opp_succeed_probability  INTEGER
) STRICT;

CREATE TABLE accounts (
    acc_id                   INTEGER PRIMARY KEY AUTOINCREMENT,
    acc_name                 TEXT COLLATE NOCASE,
    acc_description          TEXT COLLATE NOCASE,
    acc_important            TEXT COLLATE NOCASE,
    acc_type                 TEXT COLLATE NOCASE,
    acc_industry             TEXT COLLATE NOCASE,
    acc_relation             TEXT COLLATE NOCASE,
    acc_address              TEXT COLLATE NOCASE,
    acc_postcode             TEXT COLLATE NOCASE,
    acc_province             TEXT COLLATE NOCASE,
    acc_telephone            TEXT COLLATE NOCASE,
    acc_fax                  TEXT COLLATE NOCASE,
    acc_website              TEXT COLLATE NOCASE,
    acc_create_date          TEXT CHECK (acc_create_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    acc_recent_contact_date  TEXT CHECK (acc_recent_contact_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    acc_private              INTEGER
) STRICT;

CREATE TABLE contacts (
    con_id                   INTEGER PRIMARY KEY AUTOINCREMENT,
    con_name                 TEXT COLLATE NOCASE,
    con_nickname             TEXT COLLATE NOCASE,
    con_description          TEXT COLLATE NOCASE,
    con_department_title     TEXT COLLATE NOCASE,
    con_telephone            TEXT COLLATE NOCASE,
    con_mobile               TEXT COLLATE NOCASE,
    con_email                TEXT COLLATE NOCASE,
    con_important            TEXT COLLATE NOCASE,
    con_relation             TEXT COLLATE NOCASE,
    con_create_date          TEXT CHECK (con_create_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    con_recent_contact_date  TEXT CHECK (con_recent_contact_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    con_private              INTEGER,
    con_province             TEXT COLLATE NOCASE,
    con_family               TEXT COLLATE NOCASE,
    con_postcode             TEXT COLLATE NOCASE,
    con_im                   TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE tasks (
    tas_id                   INTEGER PRIMARY KEY AUTOINCREMENT,
    tas_subject              TEXT COLLATE NOCASE,
    tas_date                 TEXT CHECK (tas_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    tas_time                 TEXT CHECK (tas_time GLOB '[0-9][0-9]:[0-9][0-9]:[0-9][0-9]'),
    tas_outlay               REAL,
    tas_description          TEXT COLLATE NOCASE,
    tas_private              INTEGER,
    tas_remind               INTEGER,
    tas_closed               INTEGER
) STRICT;
-- The day's, week's and month's tasks are found by date. ORDER BY terms take
-- the Chinese collation, which this index lacks, so it never replaces a sort.
CREATE INDEX tasks_date ON tasks(tas_date);

-- Links between records -------------------------------------------------------

CREATE TABLE opportunities_accounts (
    opp_id INTEGER NOT NULL,
    acc_id INTEGER NOT NULL
) STRICT;
CREATE INDEX opportunities_accounts_opp ON opportunities_accounts(opp_id);
CREATE INDEX opportunities_accounts_acc ON opportunities_accounts(acc_id);

CREATE TABLE opportunities_contacts (
    opp_id INTEGER NOT NULL,
    con_id INTEGER NOT NULL,
    acc_id INTEGER NOT NULL DEFAULT 0
) STRICT;
CREATE INDEX opportunities_contacts_opp ON opportunities_contacts(opp_id);
CREATE INDEX opportunities_contacts_con ON opportunities_contacts(con_id);

CREATE TABLE opportunities_tasks (
    opp_id INTEGER NOT NULL,
    tas_id INTEGER NOT NULL
) STRICT;
CREATE INDEX opportunities_tasks_opp ON opportunities_tasks(opp_id);
CREATE INDEX opportunities_tasks_tas ON opportunities_tasks(tas_id);

CREATE TABLE accounts_contacts (
    acc_id INTEGER NOT NULL,
    con_id INTEGER NOT NULL
) STRICT;
CREATE INDEX accounts_contacts_acc ON accounts_contacts(acc_id);
CREATE INDEX accounts_contacts_con ON accounts_contacts(con_id);

CREATE TABLE accounts_tasks (
    acc_id INTEGER NOT NULL,
    tas_id INTEGER NOT NULL
) STRICT;
CREATE INDEX accounts_tasks_acc ON accounts_tasks(acc_id);
CREATE INDEX accounts_tasks_tas ON accounts_tasks(tas_id);

CREATE TABLE contacts_tasks (
    con_id INTEGER NOT NULL,
    tas_id INTEGER NOT NULL
) STRICT;
CREATE INDEX contacts_tasks_con ON contacts_tasks(con_id);
CREATE INDEX contacts_tasks_tas ON contacts_tasks(tas_id);

-- Lookup values -----------------------------------------------------------------

CREATE TABLE important (imp_description TEXT COLLATE NOCASE) STRICT;
CREATE TABLE relation  (rel_description TEXT COLLATE NOCASE) STRICT;
CREATE TABLE province  (pro_description TEXT COLLATE NOCASE) STRICT;
CREATE TABLE phase     (pha_description TEXT COLLATE NOCASE, pha_succeed_probability INTEGER) STRICT;
CREATE TABLE industry  (ind_description TEXT COLLATE NOCASE) STRICT;
CREATE TABLE type      (typ_description TEXT COLLATE NOCASE) STRICT;

-- Settings: exactly one row, set_id = 1 ------------------------------------------

CREATE TABLE setting (
    set_id            INTEGER PRIMARY KEY,
    set_emailaddress  TEXT,
    set_smtpserver    TEXT,
    set_user          TEXT,
    set_pwd           TEXT,
    set_port          TEXT,
    set_esmtp         INTEGER,
    set_ssl           INTEGER,
    set_sign          TEXT,
    set_name          TEXT,
    set_init          INTEGER NOT NULL DEFAULT 0,
    set_loginname     TEXT,
    set_loginpwd      TEXT,
    set_reserved1     TEXT,
    set_reserved2     TEXT,
    set_reserved3     TEXT,
    set_againtime     INTEGER
) STRICT;

-- Saved queries -------------------------------------------------------------------
-- A contact belongs to at most one account: the first accounts_contacts row
-- that names it.

-- Opportunities linked to an account, a contact, a task.
CREATE VIEW rel_accounts_opportunities AS
SELECT o.opp_id, o.opp_subject, o.opp_description, o.opp_create_date, o.opp_die_date,
       o.opp_estimate_sale, o.opp_sale, o.opp_important, o.opp_phase,
       o.opp_recent_contact_date, o.opp_private, o.opp_succeed_probability,
       l.acc_id
FROM opportunities_accounts l JOIN opportunities o ON o.opp_id = l.opp_id;

CREATE VIEW rel_contacts_opportunities AS
SELECT o.opp_id, o.opp_subject, o.opp_description, o.opp_create_date, o.opp_die_date,
       o.opp_estimate_sale, o.opp_sale, o.opp_important, o.opp_phase,
       o.opp_recent_contact_date, o.opp_private, o.opp_succeed_probability,
       l.con_id, l.acc_id
FROM opportunities_contacts l JOIN opportunities o ON o.opp_id = l.opp_id;

CREATE VIEW rel_tasks_opportunities AS
SELECT o.opp_id, o.opp_subject, o.opp_description, o.opp_create_date, o.opp_die_date,
       o.opp_estimate_sale, o.opp_sale, o.opp_important, o.opp_phase,
       o.opp_recent_contact_date, o.opp_private, o.opp_succeed_probability,
       l.tas_id
FROM opportunities_tasks l JOIN opportunities o ON o.opp_id = l.opp_id;

-- Every account with each of its opportunities; an account without any comes
-- once, with opp_id NULL. opp_id is that of the opportunity itself: a link
-- row naming no existing opportunity counts as no link.
CREATE VIEW rel_opportunities_accounts AS
SELECT a.acc_id, a.acc_name, a.acc_description, a.acc_important, a.acc_type,
       a.acc_industry, a.acc_relation, a.acc_address, a.acc_postcode, a.acc_province,
       a.acc_telephone, a.acc_fax, a.acc_website, a.acc_create_date,
       a.acc_recent_contact_date, a.acc_private,
       l.opp_id
FROM accounts a
LEFT JOIN (SELECT x.acc_id, y.opp_id FROM opportunities_accounts x JOIN opportunities y ON y.opp_id = x.opp_id) l
       ON l.acc_id = a.acc_id;

-- Accounts linked to a task.
CREATE VIEW rel_tasks_accounts AS
SELECT a.acc_id, a.acc_name, a.acc_description, a.acc_important, a.acc_type,
       a.acc_industry, a.acc_relation, a.acc_address, a.acc_postcode, a.acc_province,
       a.acc_telephone, a.acc_fax, a.acc_website, a.acc_create_date,
       a.acc_recent_contact_date, a.acc_private,
       l.tas_id
FROM accounts_tasks l JOIN accounts a ON a.acc_id = l.acc_id;

-- Every contact with each of its opportunities (acc_id: the account through
-- which it was linked); a contact without any comes once, with opp_id NULL.
-- acc_name and acc_type are those of the contact's own account.
CREATE VIEW rel_opportunities_contacts AS
SELECT c.con_id, c.con_name, c.con_nickname, c.con_description, c.con_department_title,
       c.con_telephone, c.con_mobile, c.con_email, c.con_important, c.con_relation,
       c.con_create_date, c.con_recent_contact_date, c.con_private, c.con_province,
       c.con_family, c.con_postcode, c.con_im,
       l.opp_id, a.acc_name, a.acc_type,
       l.acc_id
FROM contacts c
LEFT JOIN (SELECT x.con_id, x.acc_id, y.opp_id FROM opportunities_contacts x JOIN opportunities y ON y.opp_id = x.opp_id) l
       ON l.con_id = c.con_id
LEFT JOIN accounts_contacts ac ON ac.rowid = (SELECT MIN(x.rowid) FROM accounts_contacts x WHERE x.con_id = c.con_id)
LEFT JOIN accounts a ON a.acc_id = ac.acc_id;

-- Contacts linked to a task, with their own account.
CREATE VIEW rel_tasks_contacts AS
SELECT c.con_id, c.con_name, c.con_nickname, c.con_description, c.con_department_title,
       c.con_telephone, c.con_mobile, c.con_email, c.con_important, c.con_relation,
       c.con_create_date, c.con_recent_contact_date, c.con_private, c.con_province,
       c.con_family, c.con_postcode, c.con_im,
       l.tas_id, a.acc_name, a.acc_type,
       a.acc_id
FROM contacts_tasks l
JOIN contacts c ON c.con_id = l.con_id
LEFT JOIN accounts_contacts ac ON ac.rowid = (SELECT MIN(x.rowid) FROM accounts_contacts x WHERE x.con_id = c.con_id)
LEFT JOIN accounts a ON a.acc_id = ac.acc_id;

-- Tasks linked to an opportunity, an account, a contact.
CREATE VIEW rel_opportunities_tasks AS
SELECT t.tas_id, t.tas_subject, t.tas_date, t.tas_time, t.tas_outlay,
       t.tas_description, t.tas_private, t.tas_remind, t.tas_closed,
       l.opp_id
FROM opportunities_tasks l JOIN tasks t ON t.tas_id = l.tas_id;

CREATE VIEW rel_accounts_tasks AS
SELECT t.tas_id, t.tas_subject, t.tas_date, t.tas_time, t.tas_outlay,
       t.tas_description, t.tas_private, t.tas_remind, t.tas_closed,
       l.acc_id
FROM accounts_tasks l JOIN tasks t ON t.tas_id = l.tas_id;

CREATE VIEW rel_contacts_tasks AS
SELECT t.tas_id, t.tas_subject, t.tas_date, t.tas_time, t.tas_outlay,
       t.tas_description, t.tas_private, t.tas_remind, t.tas_closed,
       l.con_id
FROM contacts_tasks l JOIN tasks t ON t.tas_id = l.tas_id;

-- Every contact once, with the account it belongs to (NULLs when none).
CREATE VIEW que_contacts_accounts AS
SELECT c.con_id, c.con_name, c.con_nickname, c.con_description, c.con_department_title,
       c.con_telephone, c.con_mobile, c.con_email, c.con_important, c.con_relation,
       c.con_create_date, c.con_recent_contact_date, c.con_private, c.con_province,
       c.con_family, c.con_postcode, c.con_im,
       a.acc_id, a.acc_name, a.acc_type,
       a.acc_industry
FROM contacts c
LEFT JOIN accounts_contacts ac ON ac.rowid = (SELECT MIN(x.rowid) FROM accounts_contacts x WHERE x.con_id = c.con_id)
LEFT JOIN accounts a ON a.acc_id = ac.acc_id;
