#!/usr/bin/env bash
# The WebDAV server the upload tests send results to, on this computer only:
#
#   tests/servers/webdav-server.sh start FOLDER
#   tests/servers/webdav-server.sh stop FOLDER
#
# start makes FOLDER anew: a certificate authority of its own (FOLDER/tls/ca.pem,
# which the tests trust), Apache with mod_dav and mod_ssl on loopback ports, and
# a relay that holds a connection without ever answering; FOLDER/server.ini
# tells the tests the ports, tokens and password. Shares, as a cloud has them,
# at https://127.0.0.1:PORT/NAME/public.php/webdav/ with the share's token as
# the user name; each takes PUT only, nobody may list or read it:
#   drop    an upload-only share with a token and no password (FOLDER/drop)
#   locked  the same with a password (FOLDER/locked)
#   full    a share whose server is full: every PUT gets 507
# /moved/ redirects to plain http, /renamed/ to /drop/ on the same server.
# The other-name port serves the drop share with a certificate for another
# name; the stalling port relays to the server, but holds the first
# connection after FOLDER/stall appears (and removes it) without a word; the
# slow port relays what the client sends at 4 MB/s.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: webdav-server.sh start|stop FOLDER" >&2; exit 2; }
action=$1
dir=$2

stop() {
    for pidfile in "$dir/run/httpd.pid" "$dir/run/relay.pid"; do
        if [ -f "$pidfile" ]; then
            pid=$(cat "$pidfile")
            kill "$pid" 2> /dev/null || true
            for _ in $(seq 50); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
            rm -f "$pidfile"
        fi
    done
}

case "$action" in
    stop) stop; exit 0 ;;
    start) ;;
    *) echo "usage: webdav-server.sh start|stop FOLDER" >&2; exit 2 ;;
esac

stop
rm -rf "$dir"
mkdir -p "$dir"/{tls,run,lock,empty,drop,locked,full}
dir=$(cd "$dir" && pwd)
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
https_port=$(free_port)
other_name_port=$(free_port)
stalling_port=$(free_port)
slow_port=$(free_port)
closed_port=$(free_port) # nothing listens there
drop_token=$(openssl rand -hex 8)
locked_token=$(openssl rand -hex 8)
locked_password="pass $(openssl rand -hex 4)"

# The authority and the server's certificates: one for this computer's
# address, one for another name.
tls="$dir/tls"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Upload test authority" \
    -keyout "$tls/ca.key" -out "$tls/ca.pem" 2> /dev/null
certificate() { # NAME SUBJECT-ALT-NAMES
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$1" -keyout "$tls/$1.key" -out "$tls/$1.csr" 2> /dev/null
    printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$2" > "$tls/$1.ext"
    openssl x509 -req -in "$tls/$1.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" -CAcreateserial -days 2 \
        -extfile "$tls/$1.ext" -out "$tls/$1.pem" 2> /dev/null
    # The server sends its whole chain, as clouds do: Wine's Windows TLS cannot
    # take an authority handed over in code into its chain search (it imports no
    # PKCS #12 without a key), but still checks that the chain's root is one the
    # client trusts.
    cat "$tls/ca.pem" >> "$tls/$1.pem"
}
certificate localhost "IP:127.0.0.1,DNS:localhost"
certificate other.example "DNS:other.example"

htpasswd -cbB "$dir/drop.users" "$drop_token" "" 2> /dev/null
htpasswd -cbB "$dir/locked.users" "$locked_token" "$locked_password" 2> /dev/null

# Started as root, Apache's workers run as www-data: the shares take anyone's files.
chmod 0777 "$dir/drop" "$dir/locked" "$dir/full" "$dir/lock"
user=""
[ "$(id -u)" -ne 0 ] || user=$'User www-data\nGroup www-data'
modules=/usr/lib/apache2/modules
share() { # NAME USERS [EXTRA]
    cat <<SHARE
  <Directory "$dir/$1">
    Dav On
    AuthType Basic
    AuthName "$1"
    AuthBasicProvider file
    AuthUserFile "$dir/$2.users"
    <RequireAll>
      Require valid-user
      Require method PUT
    </RequireAll>
    ${3:-}
  </Directory>
SHARE
}
{
    cat <<CONF
ServerRoot "$dir"
ServerName 127.0.0.1
DefaultRuntimeDir "$dir/run"
PidFile "$dir/run/httpd.pid"
ErrorLog "$dir/error.log"
LogLevel warn
$user
CONF
    for module in mpm_event authz_core authn_core authn_file auth_basic authz_user alias rewrite dav dav_fs ssl \
            socache_shmcb; do
        echo "LoadModule ${module}_module $modules/mod_$module.so"
    done
    cat <<CONF
Listen 127.0.0.1:$https_port
Listen 127.0.0.1:$other_name_port
StartServers 1
DavLockDB "$dir/lock/DavLock"
SSLSessionCache "shmcb:$dir/run/ssl_cache(512000)"
<Directory />
  AllowOverride None
  Require all denied
</Directory>
<VirtualHost 127.0.0.1:$https_port>
  SSLEngine on
  SSLCertificateFile "$tls/localhost.pem"
  SSLCertificateKeyFile "$tls/localhost.key"
  DocumentRoot "$dir/empty"
  Alias /drop/public.php/webdav "$dir/drop"
  Alias /locked/public.php/webdav "$dir/locked"
  Alias /full/public.php/webdav "$dir/full"
  Redirect 307 /moved/ http://127.0.0.1:$closed_port/drop/public.php/webdav/
  Redirect 307 /renamed/ https://127.0.0.1:$https_port/drop/
$(share drop drop)
$(share locked locked)
$(share full drop $'RewriteEngine On\n    RewriteRule ^ - [R=507]')
</VirtualHost>
<VirtualHost 127.0.0.1:$other_name_port>
  SSLEngine on
  SSLCertificateFile "$tls/other.example.pem"
  SSLCertificateKeyFile "$tls/other.example.key"
  DocumentRoot "$dir/empty"
  Alias /drop/public.php/webdav "$dir/drop"
$(share drop drop)
</VirtualHost>
CONF
} > "$dir/httpd.conf"

cat > "$dir/server.ini" <<INI
[server]
https_port=$https_port
other_name_port=$other_name_port
stalling_port=$stalling_port
slow_port=$slow_port
closed_port=$closed_port
drop_token=$drop_token
locked_token=$locked_token
locked_password="$locked_password"
INI

/usr/sbin/apache2 -f "$dir/httpd.conf" -k start
python3 "$here/stalling_relay.py" "$stalling_port" "$https_port" "$dir/stall" "$slow_port" > "$dir/relay.log" 2>&1 &
echo $! > "$dir/run/relay.pid"
# Ready when both answer.
for _ in $(seq 100); do
    if [ -s "$dir/run/httpd.pid" ] && python3 - "$https_port" "$stalling_port" "$slow_port" <<'PY' 2> /dev/null
import socket, sys
for port in sys.argv[1:]:
    socket.create_connection(("127.0.0.1", int(port)), timeout=1).close()
PY
    then
        echo "webdav-server: https://127.0.0.1:$https_port/ in $dir"
        exit 0
    fi
    sleep 0.1
done
cat "$dir/error.log" >&2
echo "webdav-server: the server did not start" >&2
stop
exit 1
